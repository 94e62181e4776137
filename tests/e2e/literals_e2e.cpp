// KeepStringLiterals through the real DLL: with the key in the settings file
// beside the plug-in, the whitespace commands leave PL/SQL string literals and
// quoted identifiers as they are; without it (or 0, or no number) they do what
// they always did, call for call. The key is read at every click.
//
// The README table "literals" is written here, from what the stand-in gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using quilltest::HostRun;
using quilltest::Result;
using quilltest::WriteFile;

struct Example {
    const char* command;
    int click;
    std::string in;
    int start, end;  // start == end: nothing selected
    std::string kept, plain;
};

// · space, → tab, ¶ CR LF, as the README shows them.
const Example kExamples[] = {
    {"Remove trailing spaces", 1, "v := 'a  \r\nb';  \r\n", 0, 0, "v := 'a  \r\nb';\r\n", "v := 'a\r\nb';\r\n"},
    {"Remove blank lines", 3, "x\r\n\r\n\r\ns := q'[\r\n\r\nit's]';\r\n\r\n", 0, 0,
     "x\r\ns := q'[\r\n\r\nit's]';\r\n", "x\r\ns := q'[\r\nit's]';\r\n"},
    {"Replace tab by spaces", 2, "s := 'a\tb';", 0, 0, "s := 'a\tb';", "s := 'a    b';"},
    {"Remove trailing spaces", 1, "-- don't  \r\ny  \r\n", 0, 0, "-- don't\r\ny\r\n", "-- don't\r\ny\r\n"},
    {"Remove trailing spaces", 1, "s := 'a  \r\nb  \r\nc';", 11, 16, "s := 'a  \r\nb  \r\nc';", "s := 'a  \r\nb\r\nc';"},
    {"Remove trailing spaces", 1, "PROMPT Don't forget  \r\nx := \"My  \r\nCol\";  \r\n", 0, 0,
     "PROMPT Don't forget\r\nx := \"My  \r\nCol\";\r\n", "PROMPT Don't forget\r\nx := \"My\r\nCol\";\r\n"},
};

Result RunExample(const Example& e, const std::string& settings) {
    HostRun run;
    if (!settings.empty()) WriteFile(run.pluginDir() + "/Quillmendex.ini", settings);
    run.input(e.in).pref("TabPosition", "4").click(e.click);
    if (e.start < e.end) run.select(e.start, e.end);
    return run.go();
}

const std::string kOn = "[Settings]\r\nKeepStringLiterals=1\r\n";

TEST(KeepStringLiterals, OnLiteralsStayAsTheyAre) {
    for (const Example& e : kExamples) {
        SCOPED_TRACE(testing::Message() << e.command << " on " << testing::PrintToString(e.in));
        const Result r = RunExample(e, kOn);
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.out, e.kept);
        EXPECT_TRUE(r.Messages().empty());
        if (e.kept == e.in) {  // nothing to change: nothing written at all
            EXPECT_TRUE(r.Calls("HostSetText").empty());
            EXPECT_TRUE(r.Calls("EM_REPLACESEL").empty());
        }
    }
}

TEST(KeepStringLiterals, OffTheCommandsDoWhatTheyAlwaysDidCallForCall) {
    for (const Example& e : kExamples) {
        SCOPED_TRACE(testing::Message() << e.command << " on " << testing::PrintToString(e.in));
        const Result absent = RunExample(e, "");
        ASSERT_EQ(absent.exit, 0) << absent.stderrText;
        EXPECT_EQ(absent.out, e.plain);
        for (const std::string off : {"[Settings]\r\nKeepStringLiterals=0\r\n", "[Settings]\r\nKeepStringLiterals=yes\r\n",
                                      "[Other]\r\nKeepStringLiterals=1\r\n"}) {
            const Result r = RunExample(e, off);
            ASSERT_EQ(r.exit, 0) << r.stderrText;
            EXPECT_EQ(r.out, e.plain) << off;
            EXPECT_EQ(r.CallNames(), absent.CallNames()) << off;
            EXPECT_TRUE(r.Messages().empty());
        }
    }
}

TEST(KeepStringLiterals, ReadAtEveryClickAndSilentWhenTheFileCannotBeRead) {
    // Switched on between two clicks, without a restart: the second click keeps the literal.
    HostRun run;
    const std::string ini = run.pluginDir() + "/Quillmendex.ini";
    WriteFile(ini, "[Settings]\r\nKeepStringLiterals=-1\r\n");
    const Result on = run.input("v := 'a  \r\nb';  \r\n").click(1).go();
    ASSERT_EQ(on.exit, 0);
    EXPECT_EQ(on.out, "v := 'a  \r\nb';\r\n");
    // A folder where the settings file should be: off, and no message but the
    // one "ReadIniFile failed" at start.
    HostRun locked;
    std::filesystem::create_directories(locked.pluginDir() + "/Quillmendex.ini");
    const Result r = locked.input("v := 'a  \r\nb';  \r\n").click(1).go();
    ASSERT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "v := 'a\r\nb';\r\n");
    EXPECT_EQ(r.Messages(), std::vector<std::string>{"ReadIniFile failed"});
}

std::string Visible(const std::string& t, int s = 0, int e = 0) {
    std::string out;
    for (size_t i = 0; i <= t.size(); ++i) {
        if (s < e && static_cast<int>(i) == s) out += "\u00ab";
        if (s < e && static_cast<int>(i) == e) out += "\u00bb";
        if (i == t.size()) break;
        if (t[i] == ' ') out += "\u00b7";
        else if (t[i] == '\t') out += "\u2192";
        else if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') out += "\u00b6", ++i;
        else out += t[i];
    }
    return "`" + out + "`";
}

TEST(KeepStringLiterals, ReadmeTable) {
    std::vector<std::string> rows;
    for (const Example& e : kExamples) {
        const Result on = RunExample(e, kOn), off = RunExample(e, "");
        ASSERT_EQ(on.out, e.kept);
        ASSERT_EQ(off.out, e.plain);
        rows.push_back("| " + std::string(e.command) + " | " + Visible(e.in, e.start, e.end) + " | " + Visible(on.out) +
                       " | " + Visible(off.out) + " |");
    }
    quilltest::WriteTable("literals",
                          "| Command | Editor text | KeepStringLiterals=1 | Without it |\n|---|---|---|---|\n", rows);
}

}  // namespace
