// The plug-in against editors that are not a Win32 EDIT control, through the
// real DLL in the stand-in (--editor) under code pages 1252 and 932: every
// command gives either exactly its result on the true (UTF-16) text or exactly
// what the IDE's own way gives (the same editor with its window text made
// unreadable), and never shows a message. EDIT and the stand-in's "unicode"
// class give the true-text result everywhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/convert.h"
#include "commands/positions.h"
#include "harness.h"
#include "true_text.h"

namespace {

using quill::Utf16ToUtf8;
using quilltest::HostRun;
using quilltest::json;
using quilltest::Result;
using quilltest::TrueTextResult;
using quilltest::Text;

// Selections: none; after line breaks; over line breaks; at the text's end;
// half of an emoji (taken as the whole emoji).
const Text kTexts[] = {
    {"safe", u"ab  \r\n\r\n\r\n(x)\t'y'  \r\nq'[z  ]'", {{0, 0}, {11, 14}, {2, 10}, {21, 29}}},
    {"lossy under 1252 and 932: emoji, Hangul, a with macron",
     u"\U0001F600  \r\n\r\n\r\n(\uD55C)\t'\u0101'  \r\n[\U0001F600]",
     {{0, 0}, {11, 14}, {2, 12}, {21, 25}, {1, 2}, {22, 23}}},
    {"lossy under 1252: Cyrillic", u"\u0416\u0414  \r\n\r\n\u0416\u0414 (\u0416)\t\"\u0414\"",
     {{0, 0}, {9, 10}, {1, 8}, {14, 17}, {8, 9}}},
};

// Positions of a control that counts a CR LF as one.
int Position(const std::u16string& t, size_t unit) {
    return static_cast<int>(unit - quill::commands::CountLineBreaks(std::u16string_view(t).substr(0, unit)));
}

json::array_t Snapshots(const std::string& kind, const std::string& lang, const Text& t, size_t s, size_t e,
                        bool ideWay) {
    HostRun run;
    run.lang(lang).inputUtf8(Utf16ToUtf8(t.text)).pref("TabPosition", "4").args({"--editor", kind});
    if (s < e) {
        run.select(kind == "richedit" ? Position(t.text, s) : static_cast<int>(s),
                   kind == "richedit" ? Position(t.text, e) : static_cast<int>(e));
    }
    if (ideWay) run.args({"--window-fault", "zero-length"});
    const Result r = run.args({"--sequence", "IdentifyPlugIn:1,RegisterAll,CreateMenuItems,Each:1:14,OnDestroy"}).go();
    EXPECT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.report.value("editor", ""), kind);
    return r.report.value("snapshots", json::array());
}

class Editors : public testing::TestWithParam<const char*> {};

TEST_P(Editors, EveryCommandGivesTheTrueTextResultOrTheIdesWaySilently) {
    const std::string kind = GetParam();
    const bool trueText = kind == "edit" || kind == "unicode";
    int ideWay = 0, total = 0;
    for (const char* lang : {"en_US.UTF-8", "ja_JP.UTF-8"}) {
        for (const Text& t : kTexts) {
            for (auto [s, e] : t.selections) {
                SCOPED_TRACE(testing::Message() << kind << ", " << lang << ", " << t.what << ", " << s << ":" << e);
                const json::array_t snaps = Snapshots(kind, lang, t, s, e, false);
                ASSERT_EQ(snaps.size(), 14u);
                size_t ws = s, we = e;  // half an emoji selected: the whole emoji
                quill::commands::ToWholeCharacters(t.text, ws, we);
                json::array_t ide;
                for (const auto& snap : snaps) {
                    const int index = snap["index"];
                    ++total;
                    EXPECT_TRUE(snap["messages"].empty()) << "index " << index;
                    if (snap["text"] == Utf16ToUtf8(TrueTextResult(t.text, ws, we, index))) continue;
                    EXPECT_FALSE(trueText) << "index " << index << ": " << snap["text"];
                    if (ide.empty()) ide = Snapshots(kind, lang, t, s, e, true);
                    ASSERT_EQ(ide.size(), 14u);
                    EXPECT_EQ(snap["text"], ide[static_cast<size_t>(index - 1)]["text"]) << "index " << index;
                    ++ideWay;
                }
            }
        }
    }
    // What each kind gave, for the README and the closing note.
    std::printf("[ editors ] %s: %d of %d clicks with the true-text result, %d the IDE's way\n", kind.c_str(),
                total - ideWay, total, ideWay);
}

// KeepStringLiterals on a selection inside a literal: its context comes from
// the window's text, or else from the IDE's whole text where the selection
// stands there exactly; only where neither works is the selection scanned from
// its own start, and the log line says so.
TEST_P(Editors, KeepStringLiteralsOnASelection) {
    const std::string kind = GetParam();
    const std::u16string text = u"s := 'a  \r\nb  \r\nc';";
    HostRun run;
    quilltest::WriteFile(run.pluginDir() + "/Quillmendex.ini", "[Settings]\r\nKeepStringLiterals=1\r\nLogging=1\r\n");
    run.inputUtf8(Utf16ToUtf8(text)).args({"--editor", kind}).click(1);
    if (kind == "richedit") run.select(Position(text, 11), Position(text, 16));
    else run.select(11, 16);
    const Result r = run.go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.outUtf8, Utf16ToUtf8(text));  // the literal keeps its spaces
    EXPECT_TRUE(r.Messages().empty());
    const std::string log = quilltest::ReadFile(run.pluginDir() + "/Quillmendex.dbg");
    // A rich edit control counts a CR LF as one: its offset is no offset into either text.
    EXPECT_EQ(log.find("scanned from its own start") != std::string::npos, kind == "richedit") << log;
}

TEST(EditorOption, AnUnknownKindIsAUsageError) {
    HostRun run;
    const Result r = run.input("x").args({"--editor", "scintilla"}).click(1).go();
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.stderrText.find("--editor wants edit, richedit, plain or unicode"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Kinds, Editors, testing::Values("edit", "richedit", "plain", "unicode"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
