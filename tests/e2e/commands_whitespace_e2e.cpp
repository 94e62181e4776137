// Remove trailing spaces (1), replace tab by spaces (2) and remove blank lines
// (3), through the real DLL in the stand-in: the editor text afterwards, how it
// was written (HostSetText, EM_REPLACESEL or not at all) and the cursor.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "harness.h"

namespace {

using quilltest::HostRun;
using quilltest::json;
using quilltest::Result;

enum class Write { None, Whole, Selection };

Write HowWritten(const Result& r) {
    const size_t whole = r.Calls("HostSetText").size(), sel = r.Calls("EM_REPLACESEL").size();
    EXPECT_LE(whole + sel, 1u);
    return whole ? Write::Whole : sel ? Write::Selection : Write::None;
}

// The cursor is saved before anything else and handed back after everything
// else: HostSetCursor gets what the caret's place gave (x = column + 1, y = line + 1).
void ExpectCursorRestored(const Result& r, const json& cursor) {
    const auto names = r.CallNames();
    const auto x = std::find(names.begin(), names.end(), "HostGetCursorX");
    ASSERT_NE(x, names.end());
    ASSERT_EQ(*(x + 1), "HostGetCursorY");
    const auto sets = r.Calls("HostSetCursor");
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0]["args"], cursor);
    const auto set = std::find(names.begin(), names.end(), "HostSetCursor");
    for (auto it = x + 2; it != set; ++it) EXPECT_NE(*it, "HostGetCursorX");
    for (auto it = set + 1; it != names.end(); ++it)
        EXPECT_TRUE(it->rfind("EM_", 0) && it->rfind("HostGet", 0) && *it != "HostSetText") << *it;
}

struct Case {
    int click;
    std::string in, out;
    Write write;
};

TEST(CommandsWhitespace, WholeTextCases) {
    const Case cases[] = {
        {1, "a  \r\nb   \r\n", "a\r\nb\r\n", Write::Whole},
        {1, "abc   ", "abc   ", Write::None},
        {1, "a \t\r\n", "a \t\r\n", Write::None},
        {1, "a\t  \r\n", "a\t\r\n", Write::Whole},
        {1, "x\r\n   \r\ny", "x\r\n\r\ny", Write::Whole},
        {3, "x\r\n   \r\ny", "x\r\n   \r\ny", Write::None},
        {3, "x\r\n\r\ny", "x\r\ny", Write::Whole},
        {3, "a\r\n\r\n\r\n\r\nb", "a\r\nb", Write::Whole},
        {3, "\r\n\r\nx", "\r\nx", Write::Whole},
        {3, "\r\nx", "\r\nx", Write::None},
        {3, "x\r\n\r\n", "x\r\n", Write::Whole},
        {1, "a \n", "a \n", Write::None},  // a lone LF is no line break
        {3, "a\n\n\nb", "a\n\n\nb", Write::None},
        {1, "", "", Write::None},
        {3, "", "", Write::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.click << " on " << testing::PrintToString(c.in));
        HostRun run;
        const Result r = run.input(c.in).click(c.click).go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(HowWritten(r), c.write);
        if (c.write == Write::Whole) EXPECT_EQ(r.Calls("HostSetText")[0]["args"][0], c.out);
        // Nothing selected: the whole text was read after the empty selection.
        EXPECT_EQ(r.Calls("HostGetSelectedText").size(), 1u);
        EXPECT_EQ(r.Calls("HostGetText").size(), 1u);
        EXPECT_TRUE(r.Messages().empty());
        ExpectCursorRestored(r, json::array({1, 1}));
    }
}

TEST(CommandsWhitespace, OnlyTheSelectionChangesAndCanBeUndoneInOneStep) {
    const std::string in = "a  \r\nb  \r\n\r\n\r\nc  \r\nd";
    // "b  \r\n\r\n\r\nc  ": its last spaces have no line break inside the selection.
    struct {
        int click;
        std::string out;
    } cases[] = {{1, "a  \r\nb\r\n\r\n\r\nc  \r\nd"}, {3, "a  \r\nb  \r\nc  \r\nd"}};
    for (const auto& c : cases) {
        for (bool undo : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.click << (undo ? " then undo" : ""));
            HostRun run;
            run.input(in).select(5, 17).click(c.click);
            if (undo)
                run.args({"--sequence",
                          "IdentifyPlugIn:1,RegisterAll,CreateMenuItems,onWindowChange,Clicks,Undo,OnDestroy"});
            const Result r = run.go();
            ASSERT_EQ(r.exit, 0) << r.stderrText;
            EXPECT_EQ(r.out, undo ? in : c.out);
            ASSERT_EQ(HowWritten(r), Write::Selection);
            EXPECT_EQ(r.Calls("EM_REPLACESEL")[0]["args"],
                      json::array({1, c.out.substr(5, c.out.size() - 5 - 3)}));
            EXPECT_EQ(r.Calls("HostGetText").size(), 1u);  // only for the window's text to be checked against
            EXPECT_EQ(r.Calls("HostGetEditorHandle").size(), 1u);
            if (!undo) EXPECT_TRUE(r.report["can_undo"]);
            ExpectCursorRestored(r, json::array({4, 5}));
        }
    }
}

TEST(CommandsWhitespace, TabsUseTheWholeTextEvenWithASelection) {
    struct {
        std::string tabPosition, out;
    } cases[] = {{"4", "a    b        x\r\n"}, {" $2", "a  b    x\r\n"}, {"0", "abx\r\n"}, {"-3", "abx\r\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tabPosition);
        HostRun run;
        const Result r = run.input("a\tb\t\tx\r\n").select(0, 3).pref("TabPosition", c.tabPosition).click(2).go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(HowWritten(r), Write::Whole);
        EXPECT_TRUE(r.Calls("HostGetSelectedText").empty());
        EXPECT_EQ(r.Calls("HostGetPreference")[0]["args"], json::array({"TabPosition"}));
        ExpectCursorRestored(r, json::array({4, 1}));
    }
}

TEST(CommandsWhitespace, ABadTabPositionIsShownAndTouchesNothing) {
    struct {
        std::string in;
        std::optional<std::string> tabPosition;
        std::string message;
    } cases[] = {
        {"a\tb", "four", "'four' is not a valid integer value"},
        {"a\tb", std::nullopt, "'' is not a valid integer value"},  // the IDE has no such preference
        {"", "4x", "'4x' is not a valid integer value"},            // read before the (empty) text
        {"a\tb", "2147483648", "'2147483648' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        HostRun run;
        run.input(c.in).click(2);
        if (c.tabPosition) run.pref("TabPosition", *c.tabPosition);
        const Result r = run.go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.out, c.in);
        EXPECT_EQ(r.Messages(), std::vector<std::string>{c.message});
        EXPECT_TRUE(r.Calls("HostGetText").empty());
        EXPECT_EQ(HowWritten(r), Write::None);
        ExpectCursorRestored(r, json::array({1, 1}));
    }
}

TEST(CommandsWhitespace, WithoutAnEditorWindowASelectionChangeIsDropped) {
    for (const char* handle : {"0", "-1"}) {
        HostRun run;
        const Result r = run.input("a  \r\nb").select(0, 5).args({"--editor-handle", handle}).click(1).go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.out, "a  \r\nb");
        EXPECT_EQ(HowWritten(r), Write::None);
        EXPECT_EQ(r.Calls("HostGetEditorHandle").size(), 1u);
        EXPECT_TRUE(r.Messages().empty());
        ExpectCursorRestored(r, json::array({1, 2}));
    }
}

// Every character beside the spaces, tabs and line breaks comes back as it was,
// in a single-byte and a double-byte ANSI code page.
TEST(CommandsWhitespace, OtherCharactersSurviveInCodePages1252And932) {
    struct {
        const char* lang;
        int codePage;
        std::string word;  // ANSI bytes
    } pages[] = {
        {"en_US.UTF-8", 1252, "\xE9\x80\xFC\xDF\xA0"},  // e acute, euro, u umlaut, sharp s, no-break space
        // Japanese in Shift-JIS; the second bytes of the last two are '\' (0x5C).
        {"ja_JP.UTF-8", 932, "\x93\xFA\x96\x7B\x8C\xEA\x95\x5C\x83\x5C"},
    };
    for (const auto& p : pages) {
        SCOPED_TRACE(p.lang);
        const std::string& w = p.word;
        HostRun run;
        const Result r = run.lang(p.lang)
                             .input(w + "  \r\n" + w + "\t" + w + "\r\n\r\n\r\n" + w)
                             .pref("TabPosition", "2")
                             .click(1)
                             .click(2)
                             .click(3)
                             .go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.report["ansi_code_page"], p.codePage);
        EXPECT_EQ(r.out, w + "\r\n" + w + "  " + w + "\r\n" + w);
        EXPECT_EQ(r.Calls("HostSetText").size(), 3u);
    }
}

}  // namespace
