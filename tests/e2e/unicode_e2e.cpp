// Text that the ANSI code page cannot hold, through the real DLL in the stand-in
// under code pages 1252 and 932: every command gives what it gives on the true
// text (the editor window's UTF-16), never on the IDE's lossy ANSI image; texts
// the code page holds still go through the IDE's calls; a window whose answers
// cannot be trusted leaves the IDE's way, silently.
//
// The README table "unicode" is written here: what the IDE's copy alone gives
// (the stand-in's window made unreadable) beside what the plug-in gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/convert.h"
#include "harness.h"
#include "true_text.h"

namespace {

using quill::Utf16ToUtf8;
using quill::Utf8ToUtf16;
using quilltest::HostRun;
using quilltest::json;
using quilltest::Result;
using quilltest::TrueTextResult;
using quilltest::Text;

const Text kTexts[] = {
    {"Cyrillic and Greek, trailing spaces, blank lines, a tab",
     u"\u041f\u0440\u0438\u0432\u0435\u0442  \r\n\r\n\r\n\u03b1\u03b2\t(x\u0416)  \r\n",
     {{0, 0}, {17, 21}, {18, 20}, {0, 10}}},
    {"an em space at a line end, a with macron, fullwidth brackets",
     u"a\u2003\r\n\u0101\u00a0 \r\n\r\n\r\n\uff08y\uff09 [\u0101]\r\n",
     {{0, 0}, {13, 16}, {14, 15}, {18, 19}}},
    {"emoji in quotes, Cyrillic in double quotes",
     u"x\U0001F600  \r\n'\U0001F600'\r\n\"\u0416\"\r\n{\U0001F600}",
     {{0, 0}, {8, 10}, {7, 11}, {14, 15}, {19, 21}}},
    {"ANSI-safe, with real question marks", u"why?  \r\n\r\n\r\n(ok?)\t'?'", {{0, 0}, {13, 16}, {19, 20}}},
};

std::string Show(const std::u16string& t) { return testing::PrintToString(Utf16ToUtf8(t)); }

TEST(Unicode, EveryCommandGivesWhatItGivesOnTheTrueText) {
    for (const char* lang : {"en_US.UTF-8", "ja_JP.UTF-8"}) {
        for (const Text& t : kTexts) {
            for (auto [s, e] : t.selections) {
                SCOPED_TRACE(testing::Message() << lang << ", " << t.what << ", selection " << s << ":" << e);
                HostRun run;
                run.lang(lang).inputUtf8(Utf16ToUtf8(t.text)).pref("TabPosition", "4");
                if (s < e) run.select(static_cast<int>(s), static_cast<int>(e));
                const Result r =
                    run.args({"--sequence", "IdentifyPlugIn:1,RegisterAll,CreateMenuItems,Each:1:14,OnDestroy"}).go();
                ASSERT_EQ(r.exit, 0) << r.stderrText;
                ASSERT_EQ(r.report["snapshots"].size(), 14u);
                for (const auto& snap : r.report["snapshots"]) {
                    const int index = snap["index"];
                    EXPECT_EQ(snap["text"], Utf16ToUtf8(TrueTextResult(t.text, s, e, index))) << "index " << index;
                    EXPECT_TRUE(snap["messages"].empty()) << "index " << index;
                }
            }
        }
    }
}

Result Click(const std::u16string& text, int click, std::vector<std::string> extra = {}, int s = 0, int e = 0) {
    HostRun run;
    run.inputUtf8(Utf16ToUtf8(text)).pref("TabPosition", "4").args(extra);
    if (s < e) run.select(s, e);
    return run.click(click).go();
}

TEST(Unicode, ALossyWholeTextIsReplacedThroughTheWindowAsOneUndoableEdit) {
    const std::u16string text = u"\u041f\u0440\u0438\u0432\u0435\u0442  \r\n\u03b1\u03b2";
    const Result r = Click(text, 1);
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.outUtf8, Utf16ToUtf8(u"\u041f\u0440\u0438\u0432\u0435\u0442\r\n\u03b1\u03b2"));
    EXPECT_TRUE(r.Calls("HostSetText").empty());
    ASSERT_EQ(r.Calls("EM_SETSEL").size(), 1u);  // all of it, however the control counts
    EXPECT_EQ(r.Calls("EM_SETSEL")[0]["args"], json::array({0, -1}));
    ASSERT_EQ(r.Calls("EM_REPLACESEL").size(), 1u);
    EXPECT_EQ(r.Calls("EM_REPLACESEL")[0]["args"][0], 1);
    EXPECT_EQ(r.Calls("EM_GETLIMITTEXT").size(), 1u);
    EXPECT_EQ(r.Calls("WM_GETTEXTLENGTH").size(), 2u);  // before, and the check after
    EXPECT_EQ(r.Calls("HostGetEditorHandle").size(), 1u);
    EXPECT_TRUE(r.report["can_undo"]);
    EXPECT_EQ(r.CallNames().back(), "HostSetCursor");
    EXPECT_TRUE(r.Messages().empty());
}

TEST(Unicode, TextsTheCodePageHoldsStillGoThroughTheIde) {
    // Real question marks: the IDE's copy is exact, so the IDE's own set-text call writes.
    Result r = Click(u"why?  \r\n(ok?)", 1);
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.out, "why?\r\n(ok?)");
    ASSERT_EQ(r.Calls("HostSetText").size(), 1u);
    EXPECT_EQ(r.Calls("HostSetText")[0]["args"][0], "why?\r\n(ok?)");
    EXPECT_TRUE(r.Calls("EM_SETSEL").empty());
    EXPECT_TRUE(r.Calls("EM_GETLIMITTEXT").empty());

    // A safe selection in a text with unsafe characters elsewhere: written into
    // the selection as always; the rest keeps its characters.
    const std::u16string text = u"\u0416  \r\nab  \r\ncd\r\n\u0416  ";
    r = Click(text, 1, {}, 5, 13);
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.outUtf8, Utf16ToUtf8(u"\u0416  \r\nab\r\ncd\r\n\u0416  "));
    ASSERT_EQ(r.Calls("EM_REPLACESEL").size(), 1u);
    EXPECT_EQ(r.Calls("EM_REPLACESEL")[0]["args"], json::array({1, "ab\r\ncd"}));
    EXPECT_TRUE(r.Calls("EM_SETSEL").empty());
}

// The window's answers spoilt, one way at a time: each time the command goes
// the IDE's way, as it would without the check, and nothing is shown.
TEST(Unicode, AWindowThatCannotBeTrustedLeavesTheIdesWaySilently) {
    const std::u16string word = u"x \u0416 y";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--window-fault", "short-text"}, "x (?) y"},
        {{"--window-fault", "nul-text"}, "x (?) y"},
        {{"--window-fault", "zero-length"}, "x (?) y"},
        {{"--window-fault", "sel-outside"}, "x (?) y"},
        {{"--window-fault", "sel-reversed"}, "x (\xD0\x96) y"},  // a start after the end: the same selection
        {{"--editor-handle", "0"}, "x \xD0\x96 y"},  // the change is dropped, as ever without a window
    };
    for (const auto& [args, out] : cases) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const Result r = Click(word, 5, args, 2, 3);
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.outUtf8, out);
        EXPECT_TRUE(r.Messages().empty());
    }
    // Whole texts, with no editor handle to ask for: HostSetText writes the IDE's copy.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--unregister", "33"}, {"--editor-handle", "-1"}, {"--window-fault", "short-text"},
             {"--window-fault", "zero-length"}}) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const Result r = Click(u"\u0416  \r\n", 1, args);
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.outUtf8, "?\r\n");
        EXPECT_EQ(r.Calls("HostSetText").size(), 1u);
        EXPECT_TRUE(r.Messages().empty());
    }
}

TEST(Unicode, AResultTheEditorCannotHoldIsNotWrittenAndTheUserIsTold) {
    const std::u16string text = u"a\u0416b";  // 3 characters; with () around the Cyrillic, 5
    const Result r = Click(text, 5, {"--limit-text", "4"}, 1, 2);
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.outUtf8, Utf16ToUtf8(text));
    EXPECT_TRUE(r.Calls("EM_REPLACESEL").empty());
    EXPECT_EQ(r.Messages(), std::vector<std::string>{"The result would make the editor's text 5 characters long, more "
                                                     "than the editor takes (4). Quillmendex did not write it; the "
                                                     "editor keeps its text."});
}

// For the README: · space, → tab, ¶ CR LF, «…» the selection.
std::string Visible(const std::u16string& t, size_t s = 0, size_t e = 0) {
    std::u16string out;
    for (size_t i = 0; i <= t.size(); ++i) {
        if (s < e && i == s) out += u"\u00ab";
        if (s < e && i == e) out += u"\u00bb";
        if (i == t.size()) break;
        if (t[i] == u' ') out += u"\u00b7";
        else if (t[i] == u'\t') out += u"\u2192";
        else if (t[i] == u'\u2003') out += u"<em space>";
        else if (t[i] == u'\r' && i + 1 < t.size() && t[i + 1] == u'\n') out += u"\u00b6", ++i;
        else out += t[i];
    }
    return "`" + Utf16ToUtf8(out) + "`";
}

TEST(Unicode, ReadmeTable) {
    struct Row {
        std::u16string text;
        int click;
        const char* command;
        size_t s = 0, e = 0;
    };
    const Row rows[] = {
        {u"\u041f\u0440\u0438\u0432\u0435\u0442  \r\nx", 1, "Remove trailing spaces"},
        {u"a\u2003\r\nb  \r\n", 1, "Remove trailing spaces"},
        {u"\u03b1\u03b2\t\U0001F600", 2, "Replace tab by spaces (TabPosition 4)"},
        {u"x \u0416\u0443\u043a y", 5, "Add () around selection", 2, 5},
        {u"\uff08\u0101\uff09", 10, "Remove () around selection", 0, 3},
        {u"'\U0001F600'", 13, "Remove quotes around selection", 1, 3},
    };
    std::vector<std::string> table;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        const int s = static_cast<int>(row.s), e = static_cast<int>(row.e);
        const Result before = Click(row.text, row.click, {"--window-fault", "short-text"}, s, e);
        const Result now = Click(row.text, row.click, {}, s, e);
        ASSERT_EQ(now.exit, 0) << now.stderrText;
        ASSERT_EQ(now.outUtf8, Utf16ToUtf8(TrueTextResult(row.text, row.s, row.e, row.click)));
        table.push_back("| " + Visible(row.text, row.s, row.e) + " | " + row.command + " | " +
                        Visible(Utf8ToUtf16(before.outUtf8)) + " | " + Visible(Utf8ToUtf16(now.outUtf8)) + " |");
    }
    quilltest::WriteTable("unicode",
                          "| Editor text (code page 1252) | Command | Through the IDE's ANSI copy | Quillmendex |\n"
                          "|---|---|---|---|\n",
                          table);
}

}  // namespace
