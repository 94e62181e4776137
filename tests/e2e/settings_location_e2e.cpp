// Where the real DLL keeps its settings: beside itself when its folder can be
// written to, else in a per-user folder under APPDATA, with an older settings
// file moved there. The settings written at OnDestroy show which file was used.
#include <gtest/gtest.h>
#include <locale.h>

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
// The first-request block, then OnDestroy; no request for index 1.
const std::string kReadThenDestroy = "IdentifyPlugIn:1,RegisterAll,CreateMenuItem:2,OnDestroy";

TEST(SettingsLocation, WritableFolderKeepsTheSettingsBesideThePlugin) {
    HostRun run;
    const std::string roaming = run.dir / "Roaming";
    MakeFolder(roaming + "/EditorPro");
    auto r = run.env("APPDATA", WinPath(roaming)).args({"--settings-key", kKey}).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(ReadFile(run.pluginDir() + "/Quillmendex.ini"), kDefaults);
    EXPECT_FALSE(Exists(run.pluginDir() + "/chk.tmp"));
    EXPECT_TRUE(std::filesystem::is_empty(roaming + "/EditorPro"));
    EXPECT_TRUE(r.Calls("HostSettingsKey").empty());
    // The first request (index 1) locates twice: its first-request block and index 1.
    EXPECT_EQ(r.Calls("HostRootDir").size(), 2u);
    EXPECT_TRUE(r.Messages().empty());
}

TEST(SettingsLocation, FolderIsLocatedAgainAtEveryRequestForIndexOne) {
    HostRun run;
    auto r = run.args({"--sequence",
                       "IdentifyPlugIn:1,RegisterAll,CreateMenuItem:2,CreateMenuItem:1,CreateMenuItem:3,"
                       "CreateMenuItem:1,CreateMenuItem:99,OnDestroy"})
                 .go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.Calls("HostRootDir").size(), 3u);
    EXPECT_EQ(r.report["menu"]["3"], "Edit / Quillmendex / [Quillmendex] Remove blank lines");
}

TEST(SettingsLocation, StaleProbeFileMakesOneRunUseThePerUserFolder) {
    HostRun run;
    const std::string roaming = run.dir / "Roaming";
    MakeFolder(roaming + "/EditorPro");
    WriteFile(run.pluginDir() + "/chk.tmp", "left over");
    run.env("APPDATA", WinPath(roaming)).args({"--settings-key", kKey, "--sequence", kReadThenDestroy});
    auto first = run.go();
    ASSERT_EQ(first.exit, 0) << first.stderrText;
    EXPECT_FALSE(Exists(run.pluginDir() + "/chk.tmp"));
    EXPECT_FALSE(Exists(run.pluginDir() + "/Quillmendex.ini"));
    EXPECT_EQ(ReadFile(roaming + "/EditorPro/Quillmendex.ini"), kDefaults);

    auto second = run.go();
    ASSERT_EQ(second.exit, 0);
    EXPECT_EQ(ReadFile(run.pluginDir() + "/Quillmendex.ini"), kDefaults);
    EXPECT_FALSE(Exists(run.pluginDir() + "/chk.tmp"));
}

TEST(SettingsLocation, RequestForIndexOneLocatesAfreshWithoutReadingAgain) {
    // The stale probe file sends the first-request block to the per-user folder;
    // the request for index 1 finds the plug-in's folder writable again, so the
    // values read there are written beside the plug-in.
    for (const bool indexOne : {false, true}) {
        HostRun run;
        const std::string roaming = run.dir / "Roaming";
        MakeFolder(roaming + "/EditorPro");
        WriteFile(roaming + "/EditorPro/Quillmendex.ini", Settings("1", "-5", "7"));
        WriteFile(run.pluginDir() + "/chk.tmp", "left over");
        const std::string second = indexOne ? "CreateMenuItem:1" : "CreateMenuItem:3";
        auto r = run.env("APPDATA", WinPath(roaming))
                     .args({"--settings-key", kKey, "--sequence",
                            "IdentifyPlugIn:1,RegisterAll,CreateMenuItem:2," + second + ",OnDestroy"})
                     .go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.Calls("HostRootDir").size(), indexOne ? 2u : 1u);
        EXPECT_EQ(ReadFile(run.pluginDir() + "/Quillmendex.ini"), indexOne ? Settings("1", "-5", "7") : "")
            << indexOne;
        EXPECT_EQ(ReadFile(roaming + "/EditorPro/Quillmendex.ini"), Settings("1", "-5", "7"));
    }
}

// The plug-in's folder is really not writable (a read-only mount).
class PerUserFolder : public ::testing::Test {
protected:
    void SetUp() override {
        QUILL_REQUIRE_READ_ONLY(readOnly);
        MakeFolder(roaming);
        run.env("APPDATA", WinPath(roaming));
    }
    quilltest::Result Go(const std::string& key) {
        auto r = run.args({"--settings-key", key}).go();
        EXPECT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_TRUE(r.Messages().empty());
        EXPECT_FALSE(Exists(run.pluginDir() + "/chk.tmp"));
        EXPECT_FALSE(Exists(run.pluginDir() + "/Quillmendex.ini"));
        return r;
    }

    HostRun run;
    const std::string roaming = run.dir / "Roaming";
    const std::string old = roaming + "/Quillmendex.ini";
    ReadOnlyFolder readOnly{run.pluginDir()};
};

TEST_F(PerUserFolder, OlderSettingsFileIsMovedIntoTheFolderOfTheSettingsKey) {
    MakeFolder(roaming + "/EditorPro");
    WriteFile(old, "[Other]\r\nA=1\r\n" + Settings("1", "-5", "7"));
    auto r = Go(kKey);
    EXPECT_FALSE(Exists(old));
    // Moved before it was read: its values are written back unchanged.
    EXPECT_EQ(ReadFile(roaming + "/EditorPro/Quillmendex.ini"), "[Other]\r\nA=1\r\n" + Settings("1", "-5", "7"));
    EXPECT_EQ(r.Calls("HostSettingsKey").size(), 2u);
}

TEST_F(PerUserFolder, BothPresentNothingMovesAndTheNewOneIsUsed) {
    MakeFolder(roaming + "/EditorPro");
    WriteFile(old, Settings("0", "100", "200"));
    WriteFile(roaming + "/EditorPro/Quillmendex.ini", Settings("0", "300", "400"));
    Go(kKey);
    EXPECT_EQ(ReadFile(old), Settings("0", "100", "200"));
    EXPECT_EQ(ReadFile(roaming + "/EditorPro/Quillmendex.ini"), Settings("0", "0", "0"));
}

TEST_F(PerUserFolder, NewFolderMissingNothingMovesAndNothingIsCreated) {
    WriteFile(old, Settings("0", "100", "200"));
    Go(kKey);
    EXPECT_EQ(ReadFile(old), Settings("0", "100", "200"));
    EXPECT_FALSE(Exists(roaming + "/EditorPro"));
    EXPECT_EQ(settingstest::Names(roaming), std::vector<std::string>{"Quillmendex.ini"});
}

TEST_F(PerUserFolder, KeyWithoutBackslashIsAppendedToAppDataAsIs) {
    MakeFolder(run.dir / "RoamingEditorPro");
    WriteFile(old, Settings("1", "-5", "7"));
    Go("Editor/Pro");
    EXPECT_FALSE(Exists(old));
    EXPECT_EQ(ReadFile(run.dir / "RoamingEditorPro/Quillmendex.ini"), Settings("1", "-5", "7"));
}

TEST_F(PerUserFolder, EmptyKeyUsesTheOlderFileInPlace) {
    WriteFile(old, Settings("0", "100", "200"));
    Go("");
    EXPECT_EQ(ReadFile(old), Settings("0", "0", "0"));
    EXPECT_EQ(settingstest::Names(roaming), std::vector<std::string>{"Quillmendex.ini"});
}

TEST_F(PerUserFolder, NoSettingsFileYetCreatesOneInTheNewFolder) {
    MakeFolder(roaming + "/EditorPro");
    Go(kKey);
    EXPECT_EQ(ReadFile(roaming + "/EditorPro/Quillmendex.ini"), kDefaults);
}

TEST(SettingsLocation, FolderNameTheCodePageCannotHoldFallsBackToThePerUserFolder) {
    // Wine takes the UTF-8 command line apart by the Unix locale.
    locale_t utf8 = newlocale(LC_ALL_MASK, "en_US.UTF-8", nullptr);
    if (!utf8) GTEST_SKIP() << "the en_US.UTF-8 locale is not installed (scripts/setup.sh generates it)";
    freelocale(utf8);
    HostRun run;
    // Under code page 1252 the folder's name turns into "plug-in ??", a folder
    // that does not exist, so the probe fails.
    const std::string odd = run.dir / "plug-in \xe6\x97\xa5\xe6\x9c\xac";
    std::filesystem::create_directory(odd);
    for (const auto& e : std::filesystem::directory_iterator(run.pluginDir()))
        std::filesystem::copy_file(e.path(), odd + "/" + e.path().filename().string());
    const std::string roaming = run.dir / "Roaming";
    MakeFolder(roaming + "/EditorPro");
    auto r = run.env("APPDATA", WinPath(roaming))
                 .args({"--plugin", WinPath(odd + "/Quillmendex.dll"), "--settings-key", kKey})
                 .go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(ReadFile(roaming + "/EditorPro/Quillmendex.ini"), kDefaults);
    EXPECT_FALSE(Exists(odd + "/Quillmendex.ini"));
    EXPECT_FALSE(Exists(odd + "/chk.tmp"));
    EXPECT_EQ(r.report["buttons"][0]["bitmap"], WinPath(run.dir / "plug-in ??") + "\\btn_quillmendex_removetrailingspaces.bmp");
}

}  // namespace
