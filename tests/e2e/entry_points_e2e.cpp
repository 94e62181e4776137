// The plug-in's exports, driven through the real DLL in the stand-in.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

using quilltest::json;
using quilltest::HostRun;

TEST(EntryPoints, IdentifiesItselfAndOffersTheMenuAndButtons) {
    HostRun run;
    auto r = run.go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.report["plugin_name"], "Quillmendex");
    const json& menu = r.report["menu"];
    EXPECT_EQ(menu.size(), 16u);  // 14 commands and 2 separators; every other index is empty
    EXPECT_EQ(menu["1"], "Edit / Quillmendex / [Quillmendex] Remove trailing spaces");
    EXPECT_EQ(menu["4"], "Edit / Quillmendex / -");
    EXPECT_EQ(menu["98"], "Edit / Quillmendex / -");
    EXPECT_EQ(menu["13"], "Edit / Quillmendex / [Quillmendex] Remove quotes around selection");
    EXPECT_EQ(menu["99"], "Edit / Quillmendex / [Quillmendex] About");

    const json& buttons = r.report["buttons"];
    ASSERT_EQ(buttons.size(), 14u);
    std::vector<int> order;
    for (const auto& b : buttons) order.push_back(b["index"]);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 99}));
    EXPECT_EQ(buttons[8]["caption"], "[Quillmendex] Remove () around selection");
    // Bitmaps are named in the plug-in's own folder.
    const std::string folder = quilltest::WinPath(run.pluginDir());
    EXPECT_EQ(buttons[0]["bitmap"], folder + "\\btn_quillmendex_removetrailingspaces.bmp");
    EXPECT_EQ(buttons[13]["bitmap"], folder + "\\btn_about.bmp");
    for (const auto& call : r.Calls("HostCreateToolButton")) {
        EXPECT_EQ(call["args"][0], 1);  // the id given to IdentifyPlugIn
        EXPECT_EQ(call["args"][4], 0);  // no bitmap handle
    }
}

TEST(EntryPoints, WindowChangeEnablesOnlyItemOneWithMinusOne) {
    for (auto [type, enabled] : {std::pair{0, 0}, {1, -1}, {7, -1}, {-3, -1}}) {
        HostRun run;
        auto r = run.args({"--window-type", std::to_string(type)}).go();
        ASSERT_EQ(r.exit, 0);
        auto calls = r.Calls("HostSetMenuState");
        ASSERT_EQ(calls.size(), 1u) << type;
        EXPECT_EQ(calls[0]["args"], json::array({1, 1, enabled})) << type;
    }
}

TEST(EntryPoints, IndexesOffTheTableDoNothing) {
    HostRun run;
    run.input("a  \r\n\r\n\r\nb\t\r\n");
    for (int index : {0, 4, 15, 98, 100, -1, 2147483647}) run.click(index);
    auto r = run.go();
    ASSERT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "a  \r\n\r\n\r\nb\t\r\n");
    // After onWindowChange nothing but the settings write at OnDestroy may follow.
    auto names = r.CallNames();
    auto last = std::find(names.begin(), names.end(), "HostSetMenuState");
    ASSERT_NE(last, names.end());
    for (auto it = last + 1; it != names.end(); ++it) EXPECT_EQ(it->rfind("Host", 0), std::string::npos) << *it;
    EXPECT_TRUE(r.Messages().empty());
}

TEST(EntryPoints, ExportsInAnUnusualOrderNeverFault) {
    HostRun run;
    // Buttons before any menu request: the folder is not known yet.
    auto r = run.args({"--sequence",
                       "IdentifyPlugIn:7,RegisterAll,OnActivate,OnDestroy,OnDestroy,Configure,About,"
                       "CreateMenuItem:2,onWindowChange"})
                 .go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    ASSERT_EQ(r.report["buttons"].size(), 14u);
    EXPECT_EQ(r.report["buttons"][0]["bitmap"], "\\btn_quillmendex_removetrailingspaces.bmp");
    EXPECT_EQ(r.report["buttons"][0]["caption"], "[Quillmendex] Remove trailing spaces");
    EXPECT_EQ(r.Calls("HostCreateToolButton")[0]["args"][0], 7);
}

TEST(EntryPoints, WithNoCallbacksRegisteredNothingFaults) {
    HostRun run;
    run.input("a \r\n");
    std::vector<std::string> args = {"--sequence",
                                     "IdentifyPlugIn:1,OnCreate,CreateMenuItems,OnActivate,onWindowChange,"
                                     "Sweep:0:15,OnDestroy"};
    auto r = run.args(args).go();
    EXPECT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.out, "a \r\n");
    EXPECT_TRUE(r.report["calls"].empty());
}

TEST(EntryPoints, StandInReportsUsageErrorsAndMissingPlugins) {
    auto usage = quilltest::RunCommand({quilltest::SourceDir() + "/scripts/wine-run", quilltest::HostExe()});
    EXPECT_EQ(usage.exit, 2);
    auto missing = quilltest::RunCommand(
        {quilltest::SourceDir() + "/scripts/wine-run", quilltest::HostExe(), "--plugin", "Z:\\no\\such.dll"});
    EXPECT_EQ(missing.exit, 2);
    EXPECT_NE(missing.stderrText.find("cannot load"), std::string::npos);
}

}  // namespace
