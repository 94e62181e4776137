// The diagnostic log through the real DLL: with "Logging=1" in the settings file
// beside the plug-in, the ".dbg" file says what was loaded and what each click
// did, in the log's line layout, and never holds the editor's text. Off, no log
// file appears; a log that cannot be written disturbs no command.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "harness.h"
#include "settings_e2e.h"

namespace {

using quilltest::Exists;
using quilltest::HostRun;
using quilltest::ReadFile;
using quilltest::Result;
using quilltest::WinPath;
using quilltest::WriteFile;

// A text whose words must never reach the log.
const std::string kText = "SELECT secret_column\t FROM secret_table;  \r\n\r\n\r\n(secret_word)\r\n";
constexpr int kClicks[] = {1, 2, 3, 5, 10, 99, 0, 4};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

Result RunClicks(HostRun& run, const std::string& tabPosition = "4") {
    run.input(kText).select(48, 61).pref("TabPosition", tabPosition);
    for (int click : kClicks) run.click(click);
    return run.go();
}

TEST(Log, SaysWhatWasLoadedAndWhatEachClickDidButNeverTheText) {
    HostRun run;
    WriteFile(run.pluginDir() + "/Quillmendex.ini", "[Settings]\r\nLogging=1\r\n");
    const Result r = RunClicks(run);
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_TRUE(r.Messages().empty());
    const std::string log = ReadFile(run.pluginDir() + "/Quillmendex.dbg");
    EXPECT_EQ(log.find("secret"), std::string::npos) << log;
    const auto lines = Lines(log);
    ASSERT_EQ(lines.size(), 7u) << log;  // the load, then one for each command clicked
    const std::regex layout(R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\] :\S.*\r)");
    for (const auto& line : lines) EXPECT_TRUE(std::regex_match(line, layout)) << line;
    const std::string dll = WinPath(run.pluginDir() + "/Quillmendex.dll");
    EXPECT_NE(lines[0].find("] :Quillmendex 2.2.64.71, " + quilltest::Bitness() + "; plug-in " + dll + "; settings " +
                            WinPath(run.pluginDir() + "/Quillmendex.ini") + "; ANSI code page 1252"),
              std::string::npos)
        << lines[0];
    const std::string expected[] = {
        "[Quillmendex] Remove trailing spaces: selection; read 13 characters; unchanged; IDE text exact; "
        "KeepStringLiterals off; ",
        "[Quillmendex] Replace tab by spaces: whole text; read 63 characters; wrote 66 characters through "
        "HostSetText; IDE text exact; KeepStringLiterals off; TabStops off; ",
        "[Quillmendex] Remove blank lines: whole text; read 66 characters; wrote 62 characters through HostSetText; "
        "IDE text exact; KeepStringLiterals off; ",
        "[Quillmendex] Add () around selection: selection; read 0 characters; wrote 2 characters into the selection "
        "(EM_REPLACESEL); IDE text exact; ",
        // The caret went back before the new "(": widened, the pair is not around it.
        "[Quillmendex] Remove () around selection: selection; read 2 characters; unchanged; IDE text exact; ",
        "[Quillmendex] About: ",
    };
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_NE(lines[i + 1].find("] :" + expected[i]), std::string::npos) << lines[i + 1];
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_TRUE(std::regex_search(lines[i], std::regex(R"([;:] \d+ ms\r$)"))) << lines[i];
}

TEST(Log, AMessageShownIsInTheLineOfItsClick) {
    HostRun run;
    WriteFile(run.pluginDir() + "/Quillmendex.ini", "[Settings]\r\nLogging=1\r\n");
    const Result r = run.input(kText).pref("TabPosition", "four").click(2).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.Messages(), std::vector<std::string>{"'four' is not a valid integer value"});
    const auto lines = Lines(ReadFile(run.pluginDir() + "/Quillmendex.dbg"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(std::regex_search(
        lines[1], std::regex(R"(\] :\[Quillmendex\] Replace tab by spaces: nothing read; KeepStringLiterals off; TabStops off; )"
                             R"(\d+ ms; message: "'four' is not a valid integer value"\r$)")))
        << lines[1];
}

TEST(Log, OffTouchesNoLogFile) {
    for (const std::string settings : {"", "[Settings]\r\nLogging=0\r\n", "[Settings]\r\nLogging=true\r\n"}) {
        HostRun run;
        if (!settings.empty()) WriteFile(run.pluginDir() + "/Quillmendex.ini", settings);
        const Result r = RunClicks(run);
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_FALSE(Exists(run.pluginDir() + "/Quillmendex.dbg")) << settings;
        EXPECT_FALSE(Exists(run.pluginDir() + "/Quillmendex.log")) << settings;
        EXPECT_TRUE(r.Messages().empty());
    }
}

TEST(Log, ALogThatCannotBeWrittenDisturbsNoCommand) {
    HostRun plain;
    const Result expected = RunClicks(plain);
    ASSERT_EQ(expected.exit, 0);
    HostRun run;
    WriteFile(run.pluginDir() + "/Quillmendex.ini", "[Settings]\r\nLogging=1\r\n");
    settingstest::MakeFolder(run.pluginDir() + "/Quillmendex.dbg");  // a folder where the log should be
    const Result r = RunClicks(run);
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_TRUE(r.Messages().empty());
    EXPECT_EQ(r.out, expected.out);
    EXPECT_EQ(r.CallNames(), expected.CallNames());
}

}  // namespace
