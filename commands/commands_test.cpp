// The command logic on a recording editor: what is read, what is written and
// how, the cursor bracket, and errors. Edit-control behaviour itself (start -1,
// ends past the text, undo) is tested against the real control under Wine.
#include "commands/commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "commands/reference_for_tests.h"
#include "base/error.h"

namespace quill::commands {
namespace {

class FakeEditor : public Editor {
public:
    std::u16string text;
    int32_t start = 0, end = 0;       // the selection
    int32_t handle = 77;              // what Handle() answers
    std::u16string tabPosition = u"4";
    std::vector<std::string> calls;
    std::function<void(const std::string&)> failOn;  // may throw for a call name
    std::optional<std::pair<int32_t, int32_t>> reportedSelection;  // what EM_GETSEL answers instead

    int32_t CursorX() override { return Call("CursorX"), 11; }
    int32_t CursorY() override { return Call("CursorY"), 22; }
    void SetCursor(int32_t x, int32_t y) override { Call("SetCursor " + std::to_string(x) + " " + std::to_string(y)); }
    std::u16string Text() override { return Call("Text"), text; }
    std::u16string SelectedText() override { return Call("SelectedText"), text.substr(start, end - start); }
    void SetText(std::u16string_view t) override {
        Call("SetText");
        text = t;
        start = end = 0;
    }
    int32_t Handle() override { return Call("Handle"), handle; }
    std::u16string Preference(const char* name) override { return Call(std::string("Preference ") + name), tabPosition; }
    void ReplaceSelection(int32_t h, std::u16string_view t) override {
        Call("ReplaceSelection " + std::to_string(h));
        if (h <= 0) return;
        text.replace(start, end - start, t);
        start = end = start + static_cast<int32_t>(t.size());
    }
    void GetSelection(int32_t h, int32_t& s, int32_t& e) override {
        Call("GetSelection " + std::to_string(h));
        s = reportedSelection ? reportedSelection->first : start;
        e = reportedSelection ? reportedSelection->second : end;
    }
    void SetSelection(int32_t h, int32_t s, int32_t e) override {
        Call("SetSelection " + std::to_string(h) + " " + std::to_string(s) + " " + std::to_string(e));
        const int32_t n = static_cast<int32_t>(text.size());
        start = std::clamp(s, 0, n);
        end = std::clamp(e, 0, n);
    }

private:
    void Call(const std::string& name) {
        calls.push_back(name);
        if (failOn) failOn(name);
    }
};

using Calls = std::vector<std::string>;

TEST(Commands, WhitespaceCommandsOnTheWholeTextWriteItWithSetText) {
    FakeEditor ed;
    ed.text = u"a  \r\nb\r\n\r\n\r\nc";
    RemoveTrailingSpaces(ed);
    EXPECT_EQ(ed.text, u"a\r\nb\r\n\r\n\r\nc");
    EXPECT_EQ(ed.calls, (Calls{"CursorX", "CursorY", "SelectedText", "Text", "SetText", "SetCursor 11 22"}));
    EXPECT_EQ(SavedCursorX, 11);
    EXPECT_EQ(SavedCursorY, 22);
    ed.calls.clear();
    RemoveBlankLines(ed);
    EXPECT_EQ(ed.text, u"a\r\nb\r\nc");
    EXPECT_EQ(ed.calls, (Calls{"CursorX", "CursorY", "SelectedText", "Text", "SetText", "SetCursor 11 22"}));
}

TEST(Commands, NothingToChangeWritesNothing) {
    for (auto command : {RemoveTrailingSpaces, RemoveBlankLines, ReplaceTabBySpaces}) {
        for (const char16_t* text : {u"", u"a b\r\nc", u"a \n\n\nb"}) {
            FakeEditor ed;
            ed.text = text;
            command(ed);
            EXPECT_EQ(ed.text, text);
            for (const auto& call : ed.calls) EXPECT_TRUE(call != "SetText" && call.rfind("Replace", 0)) << call;
            EXPECT_EQ(ed.calls.back(), "SetCursor 11 22");
        }
    }
}

// Random texts and selections: the selection, or the whole text when nothing
// is selected, becomes what the repeated replacement makes of it, and goes back
// the way it was read, only when it changed.
TEST(Commands, SelectionOrWholeMatchesTheRepeatedReplacement) {
    const std::u16string_view pieces[] = {u" ", u" ", u"\t", u"\r\n", u"\r\n", u"\r", u"\n", u"x", u"é"};
    std::mt19937 rng(7);
    for (int i = 0; i < 4000; ++i) {
        std::u16string text;
        for (size_t n = rng() % 30; n > 0; --n) text += pieces[rng() % std::size(pieces)];
        int32_t s = static_cast<int32_t>(rng() % (text.size() + 1)), e = static_cast<int32_t>(rng() % (text.size() + 1));
        if (s > e) std::swap(s, e);
        if (i % 4 == 0) e = s;  // often nothing selected
        const bool blank = i % 2 == 1;
        FakeEditor ed;
        ed.text = text;
        ed.start = s;
        ed.end = e;
        blank ? RemoveBlankLines(ed) : RemoveTrailingSpaces(ed);

        auto transform = blank ? reference::SqueezeBlankLines : reference::TrimTrailingSpaces;
        const std::u16string part = s < e ? text.substr(s, e - s) : text;
        const std::u16string changed = transform(part);
        const std::u16string expected = s < e ? text.substr(0, s) + changed + text.substr(e) : changed;
        ASSERT_EQ(ed.text, expected) << i;
        const bool replaced = std::count(ed.calls.begin(), ed.calls.end(), "ReplaceSelection 77") == 1;
        const bool set = std::count(ed.calls.begin(), ed.calls.end(), "SetText") == 1;
        ASSERT_EQ(replaced, s < e && changed != part) << i;
        ASSERT_EQ(set, s == e && changed != part) << i;
    }
}

TEST(Commands, TabsAlwaysWorkOnTheWholeText) {
    FakeEditor ed;
    ed.text = u"a\tb\t\tx";
    ed.start = 0;
    ed.end = 3;
    ed.tabPosition = u" $3";
    ReplaceTabBySpaces(ed);
    EXPECT_EQ(ed.text, u"a   b      x");
    EXPECT_EQ(TabWidth, 3);
    EXPECT_EQ(ed.calls, (Calls{"CursorX", "CursorY", "Preference TabPosition", "Text", "SetText", "SetCursor 11 22"}));
}

TEST(Commands, ABadTabPositionIsAnErrorBeforeTheTextIsRead) {
    for (const char16_t* value : {u"", u"four", u"4 ", u"2147483648", u"0x"}) {
        FakeEditor ed;
        ed.text = u"a\tb";
        ed.tabPosition = u"7";
        ReplaceTabBySpaces(ed);
        ed.calls.clear();
        ed.tabPosition = value;
        try {
            ReplaceTabBySpaces(ed);
            ADD_FAILURE() << "no error for " << Utf16ToUtf8(value);
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), u"'" + std::u16string(value) + u"' is not a valid integer value");
        }
        EXPECT_EQ(TabWidth, 7);  // the last good value stays
        EXPECT_EQ(ed.calls, (Calls{"CursorX", "CursorY", "Preference TabPosition", "SetCursor 11 22"}));
    }
}

TEST(Commands, TheCursorIsRestoredWhateverFails) {
    // A failing body: its error goes on, after the cursor is restored; a
    // failing restore then does not hide it.
    for (const std::string failing : {"SetText", "Text", "SelectedText", "Handle"}) {
        FakeEditor ed;
        ed.text = u"a \r\n";
        ed.failOn = [&](const std::string& name) {
            if (name == failing || name.rfind("SetCursor", 0) == 0) throw Error(Utf8ToUtf16(name));
        };
        ed.start = failing == "Handle" ? 0 : 1;
        ed.end = failing == "Handle" ? 4 : 1;
        try {
            RemoveTrailingSpaces(ed);
            ADD_FAILURE() << failing;
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), Utf8ToUtf16(failing));
        }
        EXPECT_EQ(ed.calls.back(), "SetCursor 11 22") << failing;
    }
    // Saving the cursor failed: there is nothing to restore.
    FakeEditor ed;
    ed.failOn = [](const std::string& name) {
        if (name == "CursorY") throw Error(u"y");
    };
    EXPECT_THROW(AddAroundSelection(ed, 0), Error);
    EXPECT_EQ(ed.calls, (Calls{"CursorX", "CursorY"}));
}

TEST(Commands, AddPutsThePairAroundTheSelection) {
    const char16_t* results[] = {u"x(bc)d", u"x[bc]d", u"x{bc}d", u"x'bc'd", u"x\"bc\"d"};
    for (int kind = 0; kind < 5; ++kind) {
        FakeEditor ed;
        ed.text = u"xbcd";
        ed.start = 1;
        ed.end = 3;
        AddAroundSelection(ed, kind);
        EXPECT_EQ(ed.text, results[kind]);
        EXPECT_EQ(ed.calls, (Calls{"CursorX", "CursorY", "SelectedText", "Handle", "ReplaceSelection 77",
                                   "SetCursor 11 22"}));
    }
    FakeEditor ed;  // nothing selected: the pair alone goes in
    ed.text = u"xy";
    ed.start = ed.end = 1;
    AddAroundSelection(ed, 0);
    EXPECT_EQ(ed.text, u"x()y");
}

TEST(Commands, RemoveTakesAnEnclosingSelectionAsItIs) {
    FakeEditor ed;
    ed.text = u"x((a))y";
    ed.start = 1;
    ed.end = 6;
    RemoveAroundSelection(ed, 0);
    EXPECT_EQ(ed.text, u"x(a)y");
    EXPECT_EQ(ed.calls, (Calls{"CursorX", "CursorY", "SelectedText", "Handle", "ReplaceSelection 77",
                               "SetCursor 11 22"}));
}

TEST(Commands, RemoveWidensOnceByOneCharacterEachSide) {
    FakeEditor ed;
    ed.text = u"x(abc)y";
    ed.start = 2;
    ed.end = 5;
    RemoveAroundSelection(ed, 0);
    EXPECT_EQ(ed.text, u"xabcy");
    EXPECT_EQ(ed.calls, (Calls{"CursorX", "CursorY", "SelectedText", "Handle", "GetSelection 77",
                               "SetSelection 77 1 6", "SelectedText", "Handle", "ReplaceSelection 77",
                               "SetCursor 11 22"}));

    ed = FakeEditor();  // still not enclosed: nothing written, the selection stays widened
    ed.text = u"x[abc)y";
    ed.start = 2;
    ed.end = 5;
    RemoveAroundSelection(ed, 0);
    EXPECT_EQ(ed.text, u"x[abc)y");
    EXPECT_EQ(ed.calls, (Calls{"CursorX", "CursorY", "SelectedText", "Handle", "GetSelection 77",
                               "SetSelection 77 1 6", "SelectedText", "SetCursor 11 22"}));
}

TEST(Commands, RemoveLeavesOneQuoteOrAnEmptyPairAsNothing) {
    for (auto [text, kind] : {std::pair{u"'", 3}, {u"\"", 4}, {u"()", 0}, {u"''", 3}}) {
        FakeEditor ed;
        ed.text = std::u16string(u"a") + text + u"b";
        ed.start = 1;
        ed.end = 1 + static_cast<int32_t>(std::u16string_view(text).size());
        RemoveAroundSelection(ed, kind);
        EXPECT_EQ(ed.text, u"ab");
    }
}

TEST(Commands, WithoutAnEditorWindowNothingIsWidenedOrWritten) {
    for (int32_t handle : {0, -1, INT_MIN}) {
        FakeEditor ed;
        ed.text = u"x(abc)y";
        ed.start = 2;
        ed.end = 5;
        ed.handle = handle;
        RemoveAroundSelection(ed, 0);
        EXPECT_EQ(ed.calls, (Calls{"CursorX", "CursorY", "SelectedText", "Handle", "SetCursor 11 22"}));
        ed.calls.clear();
        ed.start = 1;
        ed.end = 6;
        RemoveAroundSelection(ed, 0);
        AddAroundSelection(ed, 1);
        EXPECT_EQ(ed.text, u"x(abc)y");
    }
}

TEST(Commands, SelectionBoundsAreWidenedAs32BitValues) {
    FakeEditor ed;
    ed.text = u"abc";
    ed.reportedSelection = {{INT_MIN, INT_MAX}};
    RemoveAroundSelection(ed, 0);
    EXPECT_EQ(ed.calls[5], "SetSelection 77 2147483647 -2147483648");
    ed.calls.clear();
    ed.reportedSelection = {{0, 3}};
    RemoveAroundSelection(ed, 0);
    EXPECT_EQ(ed.calls[5], "SetSelection 77 -1 4");
}

TEST(Commands, KindsOutsideTheTableDoNothing) {
    for (int kind : {-1, 5, INT_MAX}) {
        FakeEditor ed;
        AddAroundSelection(ed, kind);
        RemoveAroundSelection(ed, kind);
        EXPECT_TRUE(ed.calls.empty());
    }
}

}  // namespace
}  // namespace quill::commands
