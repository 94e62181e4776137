// The command logic on a recording editor: what is read, what is written and
// how, the cursor bracket, errors, and text that the ANSI code page cannot hold.
// Edit-control behaviour itself (start -1, ends past the text, undo) is tested
// against the real control under Wine.
#include "commands/commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/error.h"
#include "commands/reference_for_tests.h"

namespace quill::commands {
namespace {

// A code page like 1252 where it matters here: U+0000 to U+00FF one byte each,
// best-fit look-alikes for a few characters, "?" for every other code unit
// (so an emoji, a surrogate pair, becomes "??").
std::string Ansi(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x100) out += static_cast<char>(c);
        else if (c == u'\u2003') out += ' ';   // em space
        else if (c == u'\uff08') out += '(';   // fullwidth brackets
        else if (c == u'\uff09') out += ')';
        else if (c == u'\u0101') out += 'a';   // a with macron
        else out += '?';
    }
    return out;
}

std::u16string Wide(std::string_view bytes) {
    std::u16string out;
    for (char b : bytes) out += static_cast<char16_t>(static_cast<unsigned char>(b));
    return out;
}

// The editor window holds text (the true UTF-16 text); the IDE's callbacks
// hand over its ANSI image, as PL/SQL Developer does.
class FakeEditor : public Editor {
public:
    std::u16string text;
    int32_t start = 0, end = 0;       // the selection
    int32_t handle = 77;              // what Handle() answers
    bool hasHandle = true;            // whether the IDE offers HostGetEditorHandle
    bool utf8 = false;                // the ANSI code page is 65001
    size_t limit = 0x7FFFFFFE;        // EM_GETLIMITTEXT
    std::u16string tabPosition = u"4";
    std::vector<std::string> calls;
    std::function<void(const std::string&)> failOn;  // may throw for a call name
    std::optional<std::pair<int32_t, int32_t>> reportedSelection;  // what EM_GETSEL answers instead
    // The window's answers going wrong.
    bool shortText = false, nulText = false, selectAllFails = false, loseOneOnReplace = false;
    std::optional<std::u16string> otherWindowText;  // WM_GETTEXT answers this instead
    bool lineBreakAsOne = false;  // EM_GETSEL and EM_SETSEL count a CR LF as one position

    int32_t CursorX() override { return Call("CursorX"), 11; }
    int32_t CursorY() override { return Call("CursorY"), 22; }
    void SetCursor(int32_t x, int32_t y) override { Call("SetCursor " + std::to_string(x) + " " + std::to_string(y)); }
    // Like the IDE's, valid until the next call: another call spoils it.
    std::string_view Text() override { return Call("Text"), Answer(Ansi(text)); }
    std::string_view SelectedText() override {
        return Call("SelectedText"), Answer(Ansi(text.substr(start, end - start)));
    }
    void SetText(std::u16string_view t) override {
        Call("SetText");
        text = Wide(ToAnsi(t));  // the IDE takes ANSI text
        start = end = 0;
    }
    bool HasHandle() override { return hasHandle; }
    int32_t Handle() override { return Call("Handle"), handle; }
    std::u16string Preference(const char* name) override { return Call(std::string("Preference ") + name), tabPosition; }

    std::u16string FromAnsi(std::string_view bytes) override { return Call("FromAnsi"), Wide(bytes); }
    std::string ToAnsi(std::u16string_view t) override { return Call("ToAnsi"), Ansi(t); }
    bool AnsiIsUtf8() override { return utf8; }

    void ReplaceSelection(int32_t h, std::u16string_view t) override {
        Call("ReplaceSelection " + std::to_string(h));
        if (loseOneOnReplace && !t.empty()) t.remove_suffix(1);
        text.replace(start, end - start, t);
        start = end = start + static_cast<int32_t>(t.size());
    }
    void GetSelection(int32_t h, int32_t& s, int32_t& e) override {
        Call("GetSelection " + std::to_string(h));
        s = reportedSelection ? reportedSelection->first : Position(start);
        e = reportedSelection ? reportedSelection->second : Position(end);
    }
    void SetSelection(int32_t h, int32_t s, int32_t e) override {
        Call("SetSelection " + std::to_string(h) + " " + std::to_string(s) + " " + std::to_string(e));
        if (selectAllFails && s == 0 && e == -1) return;
        // As EDIT: start -1 drops the selection; the values are unsigned and stop at the text's end.
        if (s == -1) {
            start = end;
            return;
        }
        const auto n = static_cast<uint32_t>(text.size());
        const auto a = Unit(static_cast<int32_t>(std::min(static_cast<uint32_t>(s), n)));
        const auto b = Unit(static_cast<int32_t>(std::min(static_cast<uint32_t>(e), n)));
        start = std::min(a, b);
        end = std::max(a, b);
    }
    size_t TextLength(int32_t h) override { return Call("TextLength " + std::to_string(h)), text.size(); }
    std::u16string WindowText(int32_t h, size_t length) override {
        Call("WindowText " + std::to_string(h));
        std::u16string t = otherWindowText.value_or(text).substr(0, length);
        if (shortText && !t.empty()) t.pop_back();
        if (nulText && !t.empty()) t[0] = u'\0';
        return t;
    }
    size_t LimitText(int32_t h) override { return Call("LimitText " + std::to_string(h)), limit; }

    size_t Count(const std::string& name) const { return std::count(calls.begin(), calls.end(), name); }
    bool Wrote() const {
        return std::any_of(calls.begin(), calls.end(),
                           [](const std::string& c) { return c == "SetText" || c.rfind("ReplaceSelection", 0) == 0; });
    }

private:
    int32_t Position(int32_t unit) const {
        int32_t p = unit;
        for (int32_t i = 0; lineBreakAsOne && i + 1 < unit; ++i)
            if (text[i] == u'\r' && text[i + 1] == u'\n') --p;
        const bool inside = unit > 0 && unit < static_cast<int32_t>(text.size()) && text[unit - 1] == u'\r' &&
                            text[unit] == u'\n';  // between CR and LF: the CR LF's position
        return lineBreakAsOne && inside ? p - 1 : p;
    }
    int32_t Unit(int32_t position) const {
        int32_t u = 0;
        while (u < static_cast<int32_t>(text.size()) && Position(u) < position) ++u;
        return u;
    }
    void Call(const std::string& name) {
        static const char* const window[] = {"FromAnsi", "ToAnsi", "TextLength", "WindowText", "GetSelection",
                                             "SetSelection", "ReplaceSelection", "LimitText"};
        const bool ide = std::none_of(std::begin(window), std::end(window),
                                      [&](const char* w) { return name.rfind(w, 0) == 0; });
        if (ide) std::fill(answer_.begin(), answer_.end(), '#');  // what the IDE gave last is gone
        calls.push_back(name);
        if (failOn) failOn(name);
    }
    std::string_view Answer(std::string bytes) {
        answer_ = std::move(bytes);
        return answer_;
    }
    std::string answer_;
};

using Calls = std::vector<std::string>;

// The calls that name the IDE or the window, without the conversions.
Calls Visible(const Calls& calls) {
    Calls out;
    for (const auto& c : calls)
        if (c != "FromAnsi" && c != "ToAnsi") out.push_back(c);
    return out;
}

TEST(Commands, WhitespaceCommandsOnTheWholeTextWriteItWithSetText) {
    FakeEditor ed;
    ed.text = u"a  \r\nb\r\n\r\n\r\nc";
    Outcome outcome;
    RemoveTrailingSpaces(ed, false, &outcome);
    EXPECT_EQ(ed.text, u"a\r\nb\r\n\r\n\r\nc");
    EXPECT_EQ(Visible(ed.calls), (Calls{"CursorX", "CursorY", "Handle", "SelectedText", "Text", "TextLength 77",
                                        "WindowText 77", "SetText", "SetCursor 11 22"}));
    EXPECT_EQ(SavedCursorX, 11);
    EXPECT_EQ(SavedCursorY, 22);
    EXPECT_EQ(outcome.scope, Outcome::Scope::Whole);
    EXPECT_EQ(outcome.read, 13u);
    EXPECT_EQ(outcome.way, Outcome::Way::HostSetText);
    EXPECT_EQ(outcome.written, 11u);
    EXPECT_FALSE(outcome.lossy);
    ed.calls.clear();
    RemoveBlankLines(ed);
    EXPECT_EQ(ed.text, u"a\r\nb\r\nc");
    EXPECT_EQ(ed.Count("SetText"), 1u);
}

TEST(Commands, NothingToChangeWritesNothing) {
    for (auto command : {RemoveTrailingSpaces, RemoveBlankLines, ReplaceTabBySpaces}) {
        for (const char16_t* text : {u"", u"a b\r\nc", u"a \n\n\nb", u"\u0416 \u2003\r\n\uff08x\uff09"}) {
            FakeEditor ed;
            ed.text = text;
            Outcome outcome;
            command(ed, false, &outcome);
            EXPECT_EQ(ed.text, text);
            EXPECT_FALSE(ed.Wrote());
            EXPECT_EQ(outcome.way, Outcome::Way::Nothing);
            EXPECT_EQ(ed.calls.back(), "SetCursor 11 22");
        }
    }
}

// Random texts and selections, with characters the code page cannot hold: the
// selection, or the whole text when nothing is selected, becomes what the
// repeated replacement makes of the true text, and goes back the way it was
// read (through the window when the IDE's text was a lossy image), only when
// it changed.
TEST(Commands, SelectionOrWholeMatchesTheRepeatedReplacementOfTheTrueText) {
    const std::u16string_view pieces[] = {u" ",  u" ",      u"\t",     u"\r\n",   u"\r\n",       u"\r",
                                          u"\n", u"x",      u"\u00e9", u"?",      u"\u0416",     u"\u2003",
                                          u"\uff08", u"\u0101", u"\U0001F600"};
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
        Outcome outcome;
        blank ? RemoveBlankLines(ed, false, &outcome) : RemoveTrailingSpaces(ed, false, &outcome);

        auto transform = blank ? reference::SqueezeBlankLines : reference::TrimTrailingSpaces;
        const std::u16string part = s < e ? text.substr(s, e - s) : text;
        const std::u16string changed = transform(part);
        const std::u16string expected = s < e ? text.substr(0, s) + changed + text.substr(e) : changed;
        ASSERT_EQ(ed.text, expected) << i;
        const bool lossy = Wide(Ansi(part)) != part;
        ASSERT_EQ(outcome.lossy, lossy) << i;
        const auto way = changed == part ? Outcome::Way::Nothing
                         : lossy         ? Outcome::Way::Window
                         : s < e         ? Outcome::Way::Selection
                                         : Outcome::Way::HostSetText;
        ASSERT_EQ(outcome.way, way) << i;
        ASSERT_EQ(ed.Count("Handle"), 1u) << i;
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
    EXPECT_EQ(Visible(ed.calls), (Calls{"CursorX", "CursorY", "Preference TabPosition", "Handle", "Text",
                                        "TextLength 77", "WindowText 77", "SetText",
                                        "SetCursor 11 22"}));
}

// A result no editor can hold is refused before it is built: over the
// editor's limit where it tells one, over 256 Mi characters always; but never
// one that is no longer than the text.
TEST(Commands, TabsWhoseResultNoEditorCanHoldAreRefusedAndTheTextStays) {
    const std::u16string over = u" Quillmendex did not make it; the editor keeps its text.";
    const struct {
        const char16_t* text;
        const char16_t* tabPosition;
        size_t limit;  // EM_GETLIMITTEXT; 0: none told
        bool tabStops;
        std::u16string message;  // empty: written
        const char16_t* after;
    } cases[] = {
        {u"a\tb", u"1073741824", 0, false,
         u"The result would make the editor's text 1073741826 characters long, more than Quillmendex puts into an "
         u"editor (268435456)." + over, u"a\tb"},
        {u"a\tb", u"268435455", 0, false,
         u"The result would make the editor's text 268435457 characters long, more than Quillmendex puts into an "
         u"editor (268435456)." + over, u"a\tb"},
        // The editor's limit binds what goes through the window (a lossy image: Ж)...
        {u"\u0416\tb", u"4", 5, false,
         u"The result would make the editor's text 6 characters long, more than the editor takes (5)." + over,
         u"\u0416\tb"},
        {u"\u0416\tb", u"4", 4, true,
         u"The result would make the editor's text 5 characters long, more than the editor takes (4)." + over,
         u"\u0416\tb"},
        {u"\u0416\tb", u"4", 6, false, u"", u"\u0416    b"},
        // ...not the IDE's set-text call.
        {u"a\tb", u"4", 5, false, u"", u"a    b"},
        // Already longer than the editor's limit, through the IDE: written.
        {u"abcdef\t", u"1", 3, false, u"", u"abcdef "},
        {u"abcdef\t\t", u"0", 3, false, u"", u"abcdef"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.text) + " TabPosition " + Utf16ToUtf8(c.tabPosition));
        FakeEditor ed;
        ed.text = c.text;
        ed.tabPosition = c.tabPosition;
        ed.limit = c.limit;
        Outcome outcome;
        try {
            ReplaceTabBySpaces(ed, false, c.tabStops, &outcome);
            EXPECT_EQ(c.message, u"");
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), c.message);
            EXPECT_EQ(outcome.notWritten, Outcome::NotWritten::OverLimit);
            EXPECT_FALSE(ed.Wrote());
        }
        EXPECT_EQ(ed.text, c.after);
        EXPECT_EQ(ed.calls.back(), "SetCursor 11 22");
    }
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
    for (const std::string failing : {"SetText", "Text", "SelectedText", "Handle", "TextLength 77", "WindowText 77"}) {
        FakeEditor ed;
        ed.text = u"a \r\n";
        ed.failOn = [&](const std::string& name) {
            if (name == failing || name.rfind("SetCursor", 0) == 0) throw Error(Utf8ToUtf16(name));
        };
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

// Only restoring the cursor failed: when the text was written, the user learns
// that it did change; when nothing was written, the error is the restore's own.
TEST(Commands, ACursorThatCannotBePutBackAfterAWriteSaysTheTextChanged) {
    for (const char16_t* text : {u"a \r\n", u"a\r\n", u"\u0416 \r\n"}) {
        FakeEditor ed;
        ed.text = text;
        ed.failOn = [](const std::string& name) {
            if (name.rfind("SetCursor", 0) == 0) throw Error(u"no cursor");
        };
        Outcome outcome;
        try {
            RemoveTrailingSpaces(ed, false, &outcome);
            ADD_FAILURE();
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), outcome.way == Outcome::Way::Nothing ? u"no cursor" : kCursorNotRestoredText);
        }
        EXPECT_EQ(outcome.way == Outcome::Way::Nothing, std::u16string_view(text) == u"a\r\n");
    }
}

TEST(Commands, AFailedConversionWritesNothing) {
    for (const std::string failing : {"FromAnsi", "ToAnsi"}) {
        for (auto command : {RemoveTrailingSpaces, ReplaceTabBySpaces}) {
            FakeEditor ed;
            ed.text = u"\u0416\t \r\n";  // a lossy image: its check converts too
            ed.failOn = [&](const std::string& name) {
                if (name == failing) throw Error(kConversionFailedText);
            };
            try {
                command(ed, false, nullptr);
                ADD_FAILURE() << failing;
            } catch (const Error& e) {
                EXPECT_EQ(e.text(), kConversionFailedText);
            }
            EXPECT_FALSE(ed.Wrote()) << failing;
            EXPECT_EQ(ed.text, u"\u0416\t \r\n");
        }
    }
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
        EXPECT_EQ(Visible(ed.calls), (Calls{"CursorX", "CursorY", "Handle", "SelectedText", "Text", "TextLength 77",
                                            "WindowText 77", "GetSelection 77", "ReplaceSelection 77",
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
    EXPECT_EQ(ed.Count("Handle"), 1u);
    EXPECT_EQ(ed.Count("ReplaceSelection 77"), 1u);
}

TEST(Commands, RemoveWidensOnceByOneCharacterEachSide) {
    FakeEditor ed;
    ed.text = u"x(abc)y";
    ed.start = 2;
    ed.end = 5;
    RemoveAroundSelection(ed, 0);
    EXPECT_EQ(ed.text, u"xabcy");
    EXPECT_EQ(Visible(ed.calls),
              (Calls{"CursorX", "CursorY", "Handle", "SelectedText", "Text", "TextLength 77", "WindowText 77",
                     "GetSelection 77", "SetSelection 77 0 2", "SelectedText", "SetSelection 77 5 -1", "SelectedText",
                     "SetSelection 77 2 5", "SetSelection 77 1 6", "SelectedText", "GetSelection 77",
                     "SetSelection 77 0 1", "SelectedText", "SetSelection 77 6 -1", "SelectedText",
                     "SetSelection 77 1 6", "ReplaceSelection 77", "SetCursor 11 22"}));

    ed = FakeEditor();  // still not enclosed: nothing written, the selection stays widened
    ed.text = u"x[abc)y";
    ed.start = 2;
    ed.end = 5;
    RemoveAroundSelection(ed, 0);
    EXPECT_EQ(ed.text, u"x[abc)y");
    EXPECT_FALSE(ed.Wrote());
    EXPECT_EQ(ed.start, 1);
    EXPECT_EQ(ed.end, 6);
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
        EXPECT_EQ(Visible(ed.calls), (Calls{"CursorX", "CursorY", "Handle", "SelectedText", "SetCursor 11 22"}));
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
    EXPECT_EQ(ed.Count("SetSelection 77 2147483647 -2147483648"), 1u);
    ed.calls.clear();
    ed.reportedSelection = {{0, 3}};
    RemoveAroundSelection(ed, 0);
    EXPECT_EQ(ed.Count("SetSelection 77 -1 4"), 1u);
}

TEST(Commands, KindsOutsideTheTableDoNothing) {
    for (int kind : {-1, 5, INT_MAX}) {
        FakeEditor ed;
        AddAroundSelection(ed, kind);
        RemoveAroundSelection(ed, kind);
        EXPECT_TRUE(ed.calls.empty());
    }
}

// ---- text the ANSI code page cannot hold ------------------------------------

struct LossyCase {
    const char* what;
    std::function<void(Editor&)> command;
    std::u16string text;
    int32_t start, end;
    std::u16string expected;
};

TEST(Commands, ALossyImageIsNeverWrittenBack) {
    const LossyCase cases[] = {
        {"Cyrillic line with trailing spaces", [](Editor& e) { RemoveTrailingSpaces(e); },
         u"\u041f\u0440\u0438\u0432\u0435\u0442  \r\nx", 0, 0, u"\u041f\u0440\u0438\u0432\u0435\u0442\r\nx"},
        {"an em space at a line end is no space", [](Editor& e) { RemoveTrailingSpaces(e); },
         u"a\u2003\r\nb \r\n\u0416", 0, 0, u"a\u2003\r\nb\r\n\u0416"},
        {"emoji and blank lines, selected", [](Editor& e) { RemoveBlankLines(e); },
         u"\U0001F600\r\n\r\n\r\n\u03b1\u03b2\r\n\r\n", 0, 8, u"\U0001F600\r\n\u03b1\u03b2\r\n\r\n"},
        {"tabs beside Greek", [](Editor& e) { ReplaceTabBySpaces(e); }, u"\u03b1\t\u03b2", 0, 1,
         u"\u03b1    \u03b2"},
        {"Add () around a Cyrillic word", [](Editor& e) { AddAroundSelection(e, 0); }, u"x \u0416\u0416 y", 2, 4,
         u"x (\u0416\u0416) y"},
        {"fullwidth brackets are no brackets", [](Editor& e) { RemoveAroundSelection(e, 0); }, u"\uff08x\uff09", 0,
         3, u"\uff08x\uff09"},
        {"Remove () widened around a Cyrillic word", [](Editor& e) { RemoveAroundSelection(e, 0); },
         u"\u0416(\u0416\u0101)\u0416", 2, 4, u"\u0416\u0416\u0101\u0416"},
        {"Remove quotes around an emoji", [](Editor& e) { RemoveAroundSelection(e, 3); }, u"'\U0001F600'", 0, 4,
         u"\U0001F600"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeEditor ed;
        ed.text = c.text;
        ed.start = c.start;
        ed.end = c.end;
        c.command(ed);
        EXPECT_EQ(ed.text, c.expected);
        EXPECT_EQ(ed.Count("SetText"), 0u);  // the IDE's ANSI set-text would lose them
        EXPECT_EQ(ed.Count("Handle"), 1u);
        EXPECT_EQ(ed.calls.back(), "SetCursor 11 22");
    }
}

TEST(Commands, TheWholeTextIsReplacedThroughTheWindowOnceAllOfItIsSelected) {
    FakeEditor ed;
    ed.text = u"\u0416 \r\n";
    ed.start = ed.end = 1;
    Outcome outcome;
    RemoveTrailingSpaces(ed, false, &outcome);
    EXPECT_EQ(ed.text, u"\u0416\r\n");
    EXPECT_EQ(Visible(ed.calls),
              (Calls{"CursorX", "CursorY", "Handle", "SelectedText", "Text", "TextLength 77", "WindowText 77",
                     "GetSelection 77", "SetSelection 77 0 -1", "GetSelection 77", "LimitText 77",
                     "ReplaceSelection 77", "TextLength 77", "SetCursor 11 22"}));
    EXPECT_TRUE(outcome.lossy);
    EXPECT_EQ(outcome.way, Outcome::Way::Window);
    EXPECT_EQ(outcome.written, 3u);
}

// Where the window's text cannot be trusted, the command goes the IDE's way,
// silently, as it always has: the IDE's image is what it works on.
TEST(Commands, AWindowThatCannotBeReadLeavesTheIdesWay) {
    const std::u16string text = u"\u0416 \r\n";
    const std::vector<std::pair<const char*, std::function<void(FakeEditor&)>>> faults = {
        {"no handle callback", [](FakeEditor& e) { e.hasHandle = false; }},
        {"WM_GETTEXT short", [](FakeEditor& e) { e.shortText = true; }},
        {"a NUL in the window's text", [](FakeEditor& e) { e.nulText = true; }},
        {"code page 65001", [](FakeEditor& e) { e.utf8 = true; }},
        {"another text in the window", [&](FakeEditor& e) { e.otherWindowText = u"\u0416\u0416\r\n"; }},
    };
    for (const auto& [what, fault] : faults) {
        SCOPED_TRACE(what);
        FakeEditor ed;
        ed.text = text;
        fault(ed);
        Outcome outcome;
        RemoveTrailingSpaces(ed, false, &outcome);
        EXPECT_EQ(ed.text, u"?\r\n");  // what the IDE's own text gives
        EXPECT_EQ(ed.Count("SetText"), 1u);
        EXPECT_FALSE(outcome.lossy);
        EXPECT_EQ(ed.Count("Handle"), ed.hasHandle ? 1u : 0u);
    }
    for (auto selection : {std::pair{3, 1}, std::pair{0, 9}}) {  // reversed, or past the text
        FakeEditor ed;
        ed.text = u"x\u0416y";
        ed.start = 1;
        ed.end = 2;
        ed.reportedSelection = selection;
        AddAroundSelection(ed, 0);
        EXPECT_EQ(ed.text, u"x(?)y");
    }
}

TEST(Commands, AnsiSafeTextsStillGoTheIdesWay) {
    FakeEditor ed;
    ed.text = u"why? \r\n\u00e9 \r\n";  // a real "?", a letter of the code page
    RemoveTrailingSpaces(ed);
    EXPECT_EQ(ed.text, u"why?\r\n\u00e9\r\n");
    EXPECT_EQ(ed.Count("SetText"), 1u);
    EXPECT_EQ(ed.Count("LimitText 77"), 0u);

    // A safe selection in a text with unsafe characters elsewhere.
    ed = FakeEditor();
    ed.text = u"\u0416 \r\nab  \r\n\u0416";
    ed.start = 4;
    ed.end = 10;
    Outcome outcome;
    RemoveTrailingSpaces(ed, false, &outcome);
    EXPECT_EQ(ed.text, u"\u0416 \r\nab\r\n\u0416");
    EXPECT_EQ(outcome.way, Outcome::Way::Selection);
    EXPECT_FALSE(outcome.lossy);
}

TEST(Commands, AResultTheWindowCannotTakeIsNotWritten) {
    FakeEditor ed;
    ed.text = u"\u0416";
    ed.start = 0;
    ed.end = 1;
    ed.limit = 2;
    try {
        AddAroundSelection(ed, 0);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.text(), u"The result would make the editor's text 3 characters long, more than the editor takes "
                            u"(2). Quillmendex did not write it; the editor keeps its text.");
    }
    EXPECT_FALSE(ed.Wrote());
    EXPECT_EQ(ed.text, u"\u0416");

    ed = FakeEditor();  // the whole text cannot be selected: the IDE's way, silently
    ed.text = u"\u0416 \r\n";
    ed.selectAllFails = true;
    RemoveTrailingSpaces(ed);
    EXPECT_EQ(ed.Count("SetText"), 1u);
    EXPECT_EQ(ed.text, u"?\r\n");

    ed = FakeEditor();  // written, but the window then holds something else
    ed.text = u"\u0416 \r\n";
    ed.loseOneOnReplace = true;
    try {
        RemoveTrailingSpaces(ed);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.text(), u"Quillmendex replaced the text, but the editor now holds 2 characters where 3 were "
                            u"expected. Please check the text; Undo takes the change back.");
    }
    EXPECT_EQ(ed.calls.back(), "SetCursor 11 22");
}

}  // namespace
}  // namespace quill::commands

namespace quill::commands {
namespace {

// ---- KeepStringLiterals -------------------------------------------------------

TEST(Commands, KeepingLiteralsLeavesThemAsTheyAre) {
    const struct {
        const char* what;
        void (*command)(Editor&, bool, Outcome*);
        std::u16string text;
        int32_t start, end;
        std::u16string kept, plain;  // with the setting on, and off
    } cases[] = {
        {"trailing spaces inside a literal", RemoveTrailingSpaces, u"v := 'a  \r\nb';  \r\n", 0, 0,
         u"v := 'a  \r\nb';\r\n", u"v := 'a\r\nb';\r\n"},
        {"blank lines inside a q-quote", RemoveBlankLines, u"x\r\n\r\n\r\ns := q'[\r\n\r\nit's]';\r\n\r\n", 0, 0,
         u"x\r\ns := q'[\r\n\r\nit's]';\r\n", u"x\r\ns := q'[\r\nit's]';\r\n"},
        {"a tab inside a literal", ReplaceTabBySpaces, u"s := 'a\tb';", 0, 0, u"s := 'a\tb';",
         u"s := 'a    b';"},
        {"a quote in a comment opens nothing", RemoveTrailingSpaces, u"-- don't  \r\ny  \r\n", 0, 0,
         u"-- don't\r\ny\r\n", u"-- don't\r\ny\r\n"},
        {"a selection inside a literal", RemoveTrailingSpaces, u"s := 'a  \r\nb  \r\nc';", 11, 16,
         u"s := 'a  \r\nb  \r\nc';", u"s := 'a  \r\nb\r\nc';"},
        {"a selection starting inside a literal", RemoveTrailingSpaces, u"s := 'a  \r\nb  \r\nc';  \r\n", 11, 23,
         u"s := 'a  \r\nb  \r\nc';\r\n", u"s := 'a  \r\nb\r\nc';\r\n"},
        {"a selection starting inside a q-quote, Cyrillic before it", RemoveTrailingSpaces,
         u"\u0416 := q'{  \r\n}'  \r\n", 8, 18, u"\u0416 := q'{  \r\n}'\r\n", u"\u0416 := q'{\r\n}'\r\n"},
    };
    for (const auto& c : cases) {
        for (bool keep : {true, false}) {
            SCOPED_TRACE(testing::Message() << c.what << (keep ? ", kept" : ", plain"));
            FakeEditor ed;
            ed.text = c.text;
            ed.start = c.start;
            ed.end = c.end;
            Outcome outcome;
            c.command(ed, keep, &outcome);
            EXPECT_EQ(ed.text, keep ? c.kept : c.plain);
            EXPECT_EQ(outcome.keepLiterals, keep);
            if (ed.text == c.text) EXPECT_FALSE(ed.Wrote());
        }
    }
}

// ---- TabStops ------------------------------------------------------------------

// Tab stops count columns from the line's start in the whole text, which is
// what the command always reads, a selection or not; everything else about the
// command stays: the preference first, the same error, the same writing.
TEST(Commands, TabStopsOnTheWholeTextFromItsLineStarts) {
    const struct {
        std::u16string text, tabPosition;
        int32_t start, end;
        bool keep;
        std::u16string result;
    } cases[] = {
        {u"l_id\t\tnumber;\r\nl_name\t\tdate;", u"4", 0, 0, false, u"l_id        number;\r\nl_name      date;"},
        {u"ab\tc\r\nx\t", u"4", 1, 4, false, u"ab  c\r\nx   "},  // the selection starts mid-line
        {u"\u0416\t'\t'\t", u"4", 0, 0, true, u"\u0416   '\t'   "},  // not in the code page: through the window
        {u"a\tb", u"0", 0, 0, false, u"ab"},
        {u"ab c", u"4", 0, 0, false, u"ab c"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.text));
        FakeEditor ed;
        ed.text = c.text;
        ed.start = c.start;
        ed.end = c.end;
        ed.tabPosition = c.tabPosition;
        Outcome outcome;
        ReplaceTabBySpaces(ed, c.keep, true, &outcome);
        EXPECT_EQ(ed.text, c.result);
        EXPECT_EQ(outcome.tabStops, std::optional<bool>(true));
        EXPECT_EQ(outcome.scope, Outcome::Scope::Whole);
        EXPECT_EQ(ed.Wrote(), c.result != c.text);
    }
    FakeEditor ed;
    ed.text = u"a\tb";
    ed.tabPosition = u"four";
    Outcome outcome;
    EXPECT_THROW(ReplaceTabBySpaces(ed, false, true, &outcome), Error);
    EXPECT_EQ(ed.calls, (Calls{"CursorX", "CursorY", "Preference TabPosition", "SetCursor 11 22"}));
    EXPECT_EQ(outcome.tabStops, std::optional<bool>(true));
    ed.tabPosition = u"4";
    ReplaceTabBySpaces(ed, false, &outcome);
    EXPECT_EQ(outcome.tabStops, std::optional<bool>(false));
}

// When the window cannot be read, a selection's context is the IDE's whole
// text where the IDE places the selection (what it gives before and after the
// selection tiles its text); else it is scanned from its own start, in code,
// and the outcome says so.
TEST(Commands, KeepingLiteralsWithoutTheWindowTakesTheIdesTextOrScansTheSelectionAlone) {
    const struct {
        const char* what;
        std::function<void(FakeEditor&)> fault;
        std::u16string result;
        bool ownStart;
    } cases[] = {
        {"window unreadable", [](FakeEditor& e) { e.shortText = true; }, u"s := 'a  \r\nb  \r\nc';", false},
        {"no handle", [](FakeEditor& e) { e.hasHandle = false; }, u"s := 'a  \r\nb\r\nc';", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeEditor ed;
        ed.text = u"s := 'a  \r\nb  \r\nc';";
        ed.start = 11;
        ed.end = 16;
        c.fault(ed);
        Outcome outcome;
        RemoveTrailingSpaces(ed, true, &outcome);
        EXPECT_EQ(ed.text, c.result);
        EXPECT_EQ(outcome.literalsFromOwnStart, c.ownStart);
    }
}

// An editor that counts a CR LF as one position: its offsets land on copies of
// the selected text in the window's UTF-16 text, and the IDE's answers about
// what stands before and after the selection show it. The command goes the
// IDE's way, and KeepStringLiterals takes the context where the IDE places the
// selection. A selection made right to left (EM_GETSEL as anchor, caret) is the
// same selection.
TEST(Commands, PositionsAreProvenByWhatTheIdePlacesAroundTheSelection) {
    FakeEditor ed;
    ed.lineBreakAsOne = true;
    ed.text = u"\r\n\r\n\u0416\u0414\u0416\u0414";
    ed.start = 6;
    ed.end = 8;
    AddAroundSelection(ed, 0);
    EXPECT_EQ(ed.text, u"\r\n\r\n\u0416\u0414(?\?)");

    ed = FakeEditor();
    ed.lineBreakAsOne = true;
    ed.text = u"\r\n\r\n\r\n\r\n\r\n'x  \r\n'x  \r\n";  // the copy at the CR LF count's offset is in the literal
    ed.start = 17;
    ed.end = 22;
    Outcome outcome;
    RemoveTrailingSpaces(ed, true, &outcome);
    EXPECT_EQ(ed.text, u"\r\n\r\n\r\n\r\n\r\n'x  \r\n'x\r\n");
    EXPECT_FALSE(outcome.literalsFromOwnStart);

    for (auto [text, kind] : {std::pair{u"s := 'a';", 3}, {u"q (a) q", 0}}) {
        ed = FakeEditor();
        ed.text = text;
        ed.start = kind == 3 ? 6 : 1;
        ed.end = kind == 3 ? 9 : 6;
        ed.reportedSelection = {{ed.end, ed.start}};
        RemoveAroundSelection(ed, kind);
        EXPECT_EQ(ed.text, text);
    }
}

}  // namespace
}  // namespace quill::commands
