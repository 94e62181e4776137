// The settings file read at the first menu request and written at OnDestroy by
// the real DLL: what the file holds afterwards, byte for byte.
#include <gtest/gtest.h>

#include "harness.h"
#include "settings_e2e.h"

namespace {

using quilltest::Exists;
using quilltest::HostRun;
using quilltest::ReadFile;
using quilltest::WinPath;
using quilltest::WriteFile;
using settingstest::kDefaults;
using settingstest::MakeFolder;
using settingstest::ReadOnlyFolder;
using settingstest::Settings;

const std::string kKey = "Software\\Vendor\\Editor/Pro";

TEST(SettingsValues, RoundTripsThroughTheSettingsFile) {
    const std::string other = "; the user's own lines\r\n[Other]\r\nA=1\r\nB=two words\r\n";
    const std::string tail = "[Tail]\r\nZ=\xe9\r\n";
    struct Case {
        const char* what;
        std::string before, after;
    };
    const Case cases[] = {
        {"no file yet", "", kDefaults},
        {"position read and written back", Settings("1", "-5", "7"), Settings("1", "-5", "7")},
        {"position not saved", Settings("0", "100", "200"), Settings("0", "0", "0")},
        {"hexadecimal and not a number", Settings("1", "0x10", "12abc"), Settings("1", "16", "0")},
        {"other sections and keys untouched",
         other + "[settings]\r\nLogging=true\r\nleft=$20\r\nExtra=keep\r\n" + tail,
         other + "[settings]\r\nLogging=true\r\nleft=32\r\nExtra=keep\r\nSavePosition=1\r\nTop=0\r\n" + tail},
    };
    for (const auto& c : cases) {
        HostRun run;
        const std::string ini = run.pluginDir() + "/Quillmendex.ini";
        if (!c.before.empty()) WriteFile(ini, c.before);
        auto r = run.go();
        ASSERT_EQ(r.exit, 0) << c.what << r.stderrText;
        EXPECT_EQ(ReadFile(ini), c.after) << c.what;
        EXPECT_TRUE(r.Messages().empty()) << c.what;
        EXPECT_FALSE(Exists(run.pluginDir() + "/Quillmendex.dbg")) << c.what;
    }
}

TEST(SettingsValues, UnreadableSettingsFileIsReadAgainAtEveryRequestAndShownOnce) {
    // A folder stands where the settings file should be: it exists but cannot be
    // read, so reading fails rather than taking defaults. The IDE asks for 99
    // menu items at start: each tries again, and the user hears of it once.
    HostRun run;
    MakeFolder(run.pluginDir() + "/Quillmendex.ini");
    auto r = run.args({"--sequence", "IdentifyPlugIn:1,RegisterAll,CreateMenuItems,OnDestroy"}).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.Messages(), std::vector<std::string>{"ReadIniFile failed"});
    // The menu texts come all the same; the whole block ran each time (and
    // index 1 located the files once more).
    EXPECT_EQ(r.report["menu"]["2"], "Edit / Quillmendex / [Quillmendex] Replace tab by spaces");
    EXPECT_EQ(r.report["menu"]["1"], "Edit / Quillmendex / [Quillmendex] Remove trailing spaces");
    EXPECT_EQ(r.Calls("HostRootDir").size(), 100u);
    EXPECT_TRUE(std::filesystem::is_directory(run.pluginDir() + "/Quillmendex.ini"));
}

// Setting for the next two tests: a stale probe file sends the first request to
// the per-user folder, where a folder stands in the settings file's place; the
// request for index 1 then finds the plug-in's folder writable again.
class FailedFirstRead : public ::testing::Test {
protected:
    void SetUp() override {
        MakeFolder(roaming + "/EditorPro/Quillmendex.ini");
        WriteFile(run.pluginDir() + "/chk.tmp", "left over");
        run.env("APPDATA", WinPath(roaming)).args({"--settings-key", kKey});
    }
    HostRun run;
    const std::string roaming = run.dir / "Roaming";
    const std::string ini = run.pluginDir() + "/Quillmendex.ini";
};

TEST_F(FailedFirstRead, NextRequestReadsAgainAndSucceeds) {
    WriteFile(ini, Settings("0", "100", "200"));
    auto r = run.args({"--sequence",
                       "IdentifyPlugIn:1,RegisterAll,CreateMenuItem:1,CreateMenuItem:2,CreateMenuItem:3,OnDestroy"})
                 .go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.Messages(), std::vector<std::string>{"ReadIniFile failed"});
    // Read at the second request: SavePosition 0 came in, so 0, 0 and 0 went out.
    EXPECT_EQ(ReadFile(ini), Settings("0", "0", "0"));
}

TEST_F(FailedFirstRead, SettingsNeverReadAreNeverWritten) {
    // Without a completed read the values are the load-time zeros; writing them
    // would replace the user's stored position.
    WriteFile(ini, Settings("1", "100", "200"));
    auto r = run.args({"--sequence", "IdentifyPlugIn:1,RegisterAll,CreateMenuItem:1,OnDestroy,OnDestroy"}).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.Messages(), std::vector<std::string>{"ReadIniFile failed"});
    EXPECT_EQ(ReadFile(ini), Settings("1", "100", "200"));
}

TEST(SettingsValues, OnDestroyWithoutAnyMenuRequestWritesNothing) {
    HostRun run;
    const std::string ini = run.pluginDir() + "/Quillmendex.ini";
    WriteFile(ini, Settings("1", "100", "200"));
    auto r = run.args({"--sequence", "IdentifyPlugIn:1,RegisterAll,OnCreate,OnActivate,OnDestroy"}).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(ReadFile(ini), Settings("1", "100", "200"));
}

TEST(SettingsValues, SettingsFolderMissingWriteFailsUnseen) {
    HostRun run;
    ReadOnlyFolder readOnly(run.pluginDir());
    QUILL_REQUIRE_READ_ONLY(readOnly);
    const std::string roaming = run.dir / "Roaming";
    MakeFolder(roaming);
    auto r = run.env("APPDATA", WinPath(roaming)).args({"--settings-key", kKey}).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_TRUE(r.Messages().empty());
    EXPECT_TRUE(r.report["windows"].empty());
    EXPECT_TRUE(std::filesystem::is_empty(roaming));
}

TEST(SettingsValues, ReadOnlySettingsFolderKeepsTheFileAsItWas) {
    HostRun run;
    const std::string roaming = run.dir / "Roaming";
    MakeFolder(roaming + "/EditorPro");
    // Writing back would change it: SavePosition 0 writes Left and Top as 0.
    WriteFile(roaming + "/EditorPro/Quillmendex.ini", Settings("0", "100", "200"));
    ReadOnlyFolder pluginFolder(run.pluginDir()), settingsFolder(roaming + "/EditorPro");
    QUILL_REQUIRE_READ_ONLY(pluginFolder);
    QUILL_REQUIRE_READ_ONLY(settingsFolder);
    auto r = run.env("APPDATA", WinPath(roaming)).args({"--settings-key", kKey}).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_TRUE(r.Messages().empty());
    EXPECT_EQ(ReadFile(roaming + "/EditorPro/Quillmendex.ini"), Settings("0", "100", "200"));
}

}  // namespace
