// The About window of the real DLL in the stand-in: menu index 99 and the About
// export show it modally and return once it is closed (the stand-in closes any
// window it sees), then the settings are written. The window itself is driven
// in about/about_window_wintest.cpp.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

using quilltest::HostRun;
using quilltest::json;

const std::string kDefaults = "[Settings]\r\nSavePosition=1\r\nLeft=0\r\nTop=0\r\n";

TEST(About, MenuItemNinetyNineShowsTheWindowAndReturns) {
    HostRun run;
    run.input("a  \r\n");
    auto r = run.click(99).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.report["windows"], json::array({"About Quillmendex"}));
    EXPECT_TRUE(r.Messages().empty());
    EXPECT_FALSE(r.report.contains("fault"));
    EXPECT_EQ(r.out, "a  \r\n");  // the editor is not touched
    EXPECT_TRUE(r.Calls("HostSetText").empty());
}

TEST(About, EveryShowingIsAWindowOfItsOwn) {
    HostRun run;
    auto r = run.click(99).click(1).click(99).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.report["windows"], json::array({"About Quillmendex", "About Quillmendex"}));
}

TEST(About, TheExportShowsItAndTheSettingsAreWrittenWhenItCloses) {
    HostRun run;
    // No OnDestroy: the settings file can only come from the About window's close.
    auto r = run.args({"--sequence", "IdentifyPlugIn:1,RegisterAll,CreateMenuItems,About"}).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.report["windows"], json::array({"About Quillmendex"}));
    EXPECT_TRUE(r.Messages().empty());
    EXPECT_EQ(quilltest::ReadFile(run.pluginDir() + "/Quillmendex.ini"), kDefaults);
}

TEST(About, BeforeTheFirstMenuRequestTheCaptionLacksTheName) {
    HostRun run;
    // The settings path is not known yet, so neither is the name taken from it;
    // and settings never read are not written.
    auto r = run.args({"--sequence", "IdentifyPlugIn:1,RegisterAll,About"}).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.report["windows"], json::array({"About "}));
    EXPECT_TRUE(r.Messages().empty());
    EXPECT_FALSE(quilltest::Exists(run.pluginDir() + "/Quillmendex.ini"));
}

}  // namespace
