// TabStops through the real DLL: with "TabStops=1" in the settings file beside
// the plug-in, Replace tab by spaces puts each tab's spaces up to its next tab
// stop, with KeepStringLiterals as well or not; without it (or 0, or no
// number) the command does what it always did, call for call. The log line of
// the click says whether it was on.
//
// The README table "tabstops" is written here, from what the stand-in gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"

namespace {

using quilltest::HostRun;
using quilltest::ReadFile;
using quilltest::Result;
using quilltest::WriteFile;

struct Example {
    std::string in;  // UTF-8
    int start, end;  // start == end: nothing selected
    bool keepLiterals;
    std::string stops, plain;  // with TabStops=1, and without
};

// · space, → tab, ¶ CR LF, as the README shows them; TabPosition 4.
const Example kExamples[] = {
    {"l_id\t\tnumber;\r\nl_name\t\tvarchar2(30);", 0, 0, false, "l_id        number;\r\nl_name      varchar2(30);",
     "l_id        number;\r\nl_name        varchar2(30);"},
    {"a\tb\t\tx", 0, 0, false, "a   b       x", "a    b        x"},
    // Replace tab by spaces always works on the whole text: the columns count
    // from the start of each line, not of the selection.
    {"ab\tc\r\nx\ty", 1, 4, false, "ab  c\r\nx   y", "ab    c\r\nx    y"},
    // A character outside the code page (the text goes through the window in
    // UTF-16): a surrogate pair is one column.
    {"\xF0\x9F\x98\x80\tx\r\nab\tx", 0, 0, false, "\xF0\x9F\x98\x80   x\r\nab  x",
     "\xF0\x9F\x98\x80    x\r\nab    x"},
    // With KeepStringLiterals: a tab in a literal stays, and counts to its stop.
    {"s := 'a\tb';\t-- x", 0, 0, true, "s := 'a\tb'; -- x", "s := 'a\tb';    -- x"},
    {"x\t'\t'\ty", 0, 0, true, "x   '\t'   y", "x    '\t'    y"},
};

std::string Settings(const Example& e, const std::string& more) {
    return "[Settings]\r\n" + std::string(e.keepLiterals ? "KeepStringLiterals=1\r\n" : "") + more;
}

Result RunExample(const Example& e, const std::string& settings, HostRun&& run = HostRun()) {
    WriteFile(run.pluginDir() + "/Quillmendex.ini", settings);
    run.inputUtf8(e.in).pref("TabPosition", "4").click(2);
    if (e.start < e.end) run.select(e.start, e.end);
    return run.go();
}

TEST(TabStops, OffTheCommandDoesWhatItAlwaysDidCallForCall) {
    for (const Example& e : kExamples) {
        SCOPED_TRACE(testing::PrintToString(e.in));
        const Result absent = RunExample(e, Settings(e, ""));
        ASSERT_EQ(absent.exit, 0) << absent.stderrText;
        EXPECT_EQ(absent.outUtf8, e.plain);
        for (const std::string off : {"TabStops=0\r\n", "TabStops=yes\r\n", "[Other]\r\nTabStops=1\r\n"}) {
            const Result r = RunExample(e, Settings(e, off));
            ASSERT_EQ(r.exit, 0) << r.stderrText;
            EXPECT_EQ(r.outUtf8, e.plain) << off;
            EXPECT_EQ(r.CallNames(), absent.CallNames()) << off;
        }
    }
}

TEST(TabStops, TheSameErrorForABadTabPositionAndTabsDeletedForZero) {
    const Example& e = kExamples[1];
    HostRun bad;
    WriteFile(bad.pluginDir() + "/Quillmendex.ini", "[Settings]\r\nTabStops=1\r\n");
    const Result r = bad.inputUtf8(e.in).pref("TabPosition", "four").click(2).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.Messages(), std::vector<std::string>{"'four' is not a valid integer value"});
    EXPECT_EQ(r.outUtf8, e.in);
    for (const char* width : {"0", "-3"}) {
        HostRun zero;
        WriteFile(zero.pluginDir() + "/Quillmendex.ini", "[Settings]\r\nTabStops=1\r\n");
        EXPECT_EQ(zero.inputUtf8(e.in).pref("TabPosition", width).click(2).go().outUtf8, "abx");
    }
}

// The text as the README shows it (UTF-8 in, UTF-8 out), the selection marked.
std::string Visible(const std::string& t, int s = 0, int e = 0) {
    std::string out;
    int unit = 0;  // UTF-16 position, for the selection
    for (size_t i = 0; i <= t.size(); ++i) {
        if (s < e && unit == s) out += "\u00ab";
        if (s < e && unit == e) out += "\u00bb";
        if (i == t.size()) break;
        const auto c = static_cast<unsigned char>(t[i]);
        if (c == ' ') out += "\u00b7";
        else if (c == '\t') out += "\u2192";
        else if (c == '\r' && i + 1 < t.size() && t[i + 1] == '\n') out += "\u00b6", ++i, ++unit;
        else out += t[i];
        if ((c & 0xC0) != 0x80) unit += c >= 0xF0 ? 2 : 1;
    }
    return "`" + out + "`";
}

// On, tabs go to their stops and the click's log line says so; the README
// table is written from what the stand-in gave.
TEST(TabStops, OnTabsGoToTheirStopsAndTheReadmeTable) {
    std::vector<std::string> rows;
    for (const Example& e : kExamples) {
        SCOPED_TRACE(testing::PrintToString(e.in));
        HostRun run;
        const std::string dbg = run.pluginDir() + "/Quillmendex.dbg";
        const Result on = RunExample(e, Settings(e, "TabStops=1\r\nLogging=1\r\n"), std::move(run));
        const Result off = RunExample(e, Settings(e, ""));
        ASSERT_EQ(on.exit, 0) << on.stderrText;
        ASSERT_EQ(on.outUtf8, e.stops);
        ASSERT_EQ(off.outUtf8, e.plain);
        EXPECT_TRUE(on.Messages().empty());
        EXPECT_NE(ReadFile(dbg).find(e.keepLiterals ? "KeepStringLiterals on; TabStops on; "
                                                    : "KeepStringLiterals off; TabStops on; "),
                  std::string::npos);
        rows.push_back("| " + Visible(e.in, e.start, e.end) + " | " +
                       (e.keepLiterals ? "KeepStringLiterals=1" : "") + " | " + Visible(on.outUtf8) + " | " +
                       Visible(off.outUtf8) + " |");
    }
    quilltest::WriteTable("tabstops",
                          "| Editor text (TabPosition 4) | Also set | TabStops=1 | Without it |\n|---|---|---|---|\n",
                          rows);
}

}  // namespace
