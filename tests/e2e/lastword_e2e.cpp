// The stand-in's last word: every way a plug-in can end the host leaves a line
// on stderr that names it, and a report with the fault; a second fault while
// the first is reported, and an end from outside with no word at all, still
// leave a report. The plug-in is tests/e2e/testplugin/crash_plugin.c, one way
// to end per menu item.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

using quilltest::HostRun;
using quilltest::Result;

std::string CrashPlugin() { return quilltest::WinDir() + "/testplugin/quill_crash.dll"; }

std::string Field(const Result& r, const char* name) {
    return r.report.is_object() ? r.report.value(name, std::string()) : std::string();
}

TEST(StandinLastWord, EveryEndingIsNamedOnStderrAndInTheReport) {
    struct Case {
        int item;
        const char* fault;     // the report's "fault"
        const char* said;      // in the line on stderr ("" : no line)
        bool complete;         // the complete report replaced the small one
        bool second;           // "fault_second"
    };
    const Case cases[] = {
        {1, "exception 0xC0000005", "(access violation) at quill_crash.dll+0x", true, false},
        {2, "abort", "abort() was called in the plug-in's export OnMenuClick(2), step Clicks", true, false},
        {3, "exception 0xC00000FD", "(stack overflow) at quill_crash.dll+0x", false, false},
        {4, "exception 0xE0001234", "exception 0xE0001234 (exception)", true, false},
        {5, "exception 0xC0000005", "a second fault, exception 0xC0000005", false, true},
        // Ended from outside: only the report written at start, naming the
        // export that was running; the harness tried it twice. 7 is Wine's own
        // end for a fault with no stack left to handle it on, with status 1, or
        // 0 where 32-bit Wine is installed: the unfinished report tells.
        {6, "ended early", "", false, false},
        {7, "ended early", "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        HostRun run;
        const Result r = run.plugin(CrashPlugin()).input("a\r\n").click(c.item).mayEndWithoutAWord().go();
        if (c.item != 7) EXPECT_EQ(r.exit, 1);
        EXPECT_EQ(Field(r, "fault"), c.fault);
        EXPECT_EQ(Field(r, "fault_during"), "OnMenuClick(" + std::to_string(c.item) + ")");
        EXPECT_EQ(Field(r, "fault_step"), "Clicks");
        EXPECT_EQ(r.report.value("complete", !c.complete), c.complete);
        EXPECT_EQ(r.report.contains("fault_second"), c.second);
        if (*c.said) {
            EXPECT_EQ(r.stderrText.rfind("quillhost: ", 0), 0u) << r.stderrText;
            EXPECT_NE(r.stderrText.find(c.said), std::string::npos) << r.stderrText;
            EXPECT_NE(r.stderrText.find("OnMenuClick(" + std::to_string(c.item) + ")"), std::string::npos);
        } else {
            EXPECT_EQ(r.stderrText, "");
        }
        EXPECT_EQ(r.retried, c.item >= 6);
        EXPECT_EQ(quilltest::EndedWithoutAWord(r), c.item >= 6);
    }
}

TEST(StandinLastWord, ARunThatEndsWellSaysNothingAndItsReportIsComplete) {
    HostRun run;
    const Result r = run.input("a  \r\n").click(1).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.stderrText, "");
    EXPECT_EQ(r.report.value("complete", false), true);
    EXPECT_FALSE(r.report.contains("fault"));
    EXPECT_FALSE(r.retried);
}

TEST(StandinLastWord, AnUnknownStepLeavesNoReport) {
    HostRun run;
    const Result r = run.input("a").args({"--sequence", "IdentifyPlugIn:1,Bogus"}).go();
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.stderrText.find("unknown step Bogus"), std::string::npos) << r.stderrText;
    EXPECT_TRUE(r.report.is_null());
    EXPECT_FALSE(quilltest::Exists(run.dir / "report.json"));
}

}  // namespace
