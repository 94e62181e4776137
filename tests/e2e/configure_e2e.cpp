// Configure through the real DLL: the "Quillmendex settings" dialog, driven by
// the stand-in's --dialog as a user would. OK writes only the keys that changed
// and every other byte of the file stays; Cancel, Esc and the close box write
// nothing; an unreadable file is never written; a file that cannot be written
// keeps the dialog open; logging and KeepStringLiterals count at once.
#include <gtest/gtest.h>

#include <sstream>

#include "harness.h"
#include "settings_e2e.h"

namespace {

using quilltest::Exists;
using quilltest::HostRun;
using quilltest::json;
using quilltest::ReadFile;
using quilltest::Result;
using quilltest::WinPath;
using quilltest::WriteFile;
using settingstest::MakeFolder;
using settingstest::Names;
using settingstest::ReadOnlyFolder;

// The IDE's order, with Configure pressed after the menu was asked for.
const std::string kAfterMenu = "IdentifyPlugIn:1,RegisterAll,OnCreate,CreateMenuItems,OnActivate,Configure,OnDestroy";
const std::string kBeforeMenu = "IdentifyPlugIn:1,RegisterAll,Configure,OnDestroy";

// A file as a user keeps it: comments, other sections before and after, the
// position values, keys in an order of the user's own.
const std::string kHead = "; Quillmendex, my settings\r\n[Other]\r\nA=1\r\nB=two words\r\n";
const std::string kTail = "[Tail]\r\nZ=\xe9\r\n";
std::string UserFile(const std::string& settingsLines) {
    return kHead + "[Settings]\r\nLogging=0\r\nSavePosition=1\r\nLeft=-5\r\nTop=7\r\n" + settingsLines + kTail;
}

Result Configure(HostRun& run, const std::string& sequence, const std::vector<std::string>& dialogs) {
    std::vector<std::string> args = {"--sequence", sequence};
    for (const auto& d : dialogs) args.insert(args.end(), {"--dialog", d});
    return run.args(args).go();
}

const json& Dialog(const Result& r) {
    static const json none;
    for (const auto& w : r.report["opened_windows"])
        if (w["caption"] == "Quillmendex settings") return w;
    return none;
}

const json* Control(const json& window, const std::string& textStart) {
    for (const auto& c : window["controls"])
        if (c["text"].get<std::string>().rfind(textStart, 0) == 0) return &c;
    return nullptr;
}

TEST(Configure, OkWritesOnlyTheChangedKeysAndEveryOtherByteStays) {
    struct Case {
        const char* what;
        std::string before, dialog, after;
    };
    const std::string keep0 = "KeepStringLiterals=0\r\nTabStops=1\r\n";
    const Case cases[] = {
        {"a key changed in place", UserFile(keep0), "check:Keep;click:OK",
         UserFile("KeepStringLiterals=1\r\nTabStops=1\r\n")},
        {"keys not there yet are added to the section", UserFile(""), "check:Tab;check:&Keep;click:OK",
         UserFile("KeepStringLiterals=1\r\nTabStops=1\r\n")},
        {"Enter is OK", UserFile(keep0), "uncheck:Tab;key:ENTER", UserFile("KeepStringLiterals=0\r\nTabStops=0\r\n")},
        {"OK with nothing changed writes nothing", UserFile("KeepStringLiterals=7\r\n"), "check:Keep;click:OK",
         UserFile("KeepStringLiterals=7\r\n")},
        {"checked and unchecked again is no change", UserFile(keep0), "check:Keep;uncheck:Keep;click:OK",
         UserFile(keep0)},
        {"Cancel", UserFile(keep0), "check:Keep;uncheck:Tab;click:Cancel", UserFile(keep0)},
        {"Esc", UserFile(keep0), "check:Keep;key:ESC", UserFile(keep0)},
        {"the close box", UserFile(keep0), "check:Keep", UserFile(keep0)},
        {"a control that is not there", UserFile(keep0), "check:Keep;click:Apply;click:OK", UserFile(keep0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HostRun run;
        const std::string ini = run.pluginDir() + "/Quillmendex.ini";
        WriteFile(ini, c.before);
        const Result r = Configure(run, kAfterMenu, {c.dialog});
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(ReadFile(ini), c.after);
        EXPECT_TRUE(r.Messages().empty());
        EXPECT_EQ(r.report["windows"], json::array({"Quillmendex settings"}));
        const json& actions = Dialog(r)["actions"];
        const bool missing = c.dialog.find("Apply") != std::string::npos;
        EXPECT_EQ(actions.back()["result"], missing ? "skipped" : "done");
        if (missing) EXPECT_EQ(actions[1], json({{"action", "click:Apply"}, {"result", "failed"}, {"why", "no such control"}}));
        // Closed by what the user did, but for the close box and the failed action.
        EXPECT_EQ(Dialog(r)["closed_by_standin"], missing || c.dialog == "check:Keep");
    }
}

TEST(Configure, OpensWithTheFilesValuesAsAUserSeesThem) {
    HostRun run;
    const std::string ini = run.pluginDir() + "/Quillmendex.ini";
    // 2 is on; "true" is no number, so off; TabStops missing, off.
    WriteFile(ini, "[settings]\r\nkeepstringliterals=2\r\nLogging=true\r\n");
    const Result r = Configure(run, kAfterMenu.substr(0, kAfterMenu.rfind(',')), {});  // no OnDestroy
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    const json& dialog = Dialog(r);
    ASSERT_FALSE(dialog.is_null()) << r.report.dump(1);
    EXPECT_EQ(dialog["class"], "TfrmQuillmendexSettings");
    EXPECT_TRUE(dialog["closed_by_standin"]);
    const std::pair<const char*, bool> checks[] = {{"&Keep string literals", true}, {"&Tab stops", false},
                                                    {"Write the diagnostic &log", false}};
    for (const auto& [text, checked] : checks) {
        const json* c = Control(dialog, text);
        ASSERT_TRUE(c) << text;
        EXPECT_EQ((*c)["checked"], checked) << text;
        EXPECT_TRUE((*c)["enabled"]) << text;
    }
    ASSERT_TRUE(Control(dialog, "Writes what Quillmendex does into Quillmendex.dbg"));
    const json* path = Control(dialog, WinPath(run.pluginDir()));
    ASSERT_TRUE(path);
    EXPECT_EQ((*path)["text"], WinPath(ini));
    EXPECT_EQ((*path)["class"], "Edit");
    for (const char* button : {"OK", "Cancel", "Open &folder"}) EXPECT_TRUE(Control(dialog, button)) << button;
    EXPECT_EQ(ReadFile(ini), "[settings]\r\nkeepstringliterals=2\r\nLogging=true\r\n");
}

TEST(Configure, AnUnreadableFileIsNeverWritten) {
    for (const std::string script : {"check:Keep;click:OK", "key:ENTER"}) {
        SCOPED_TRACE(script);
        HostRun run;
        const std::string ini = run.pluginDir() + "/Quillmendex.ini";
        MakeFolder(ini);
        // "ReadIniFile failed" comes first, at the menu requests: OK to it.
        const Result r = Configure(run, kAfterMenu, {"click:OK", script});
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        const json& dialog = Dialog(r);
        ASSERT_FALSE(dialog.is_null()) << r.report.dump(1);
        EXPECT_EQ(r.report["opened_windows"][0]["actions"][0]["result"], "done");
        for (const char* text : {"&Keep", "&Tab", "Write", "OK"}) {
            ASSERT_TRUE(Control(dialog, text)) << text;
            EXPECT_FALSE((*Control(dialog, text))["enabled"]) << text;
        }
        EXPECT_TRUE(Control(dialog, "The settings file cannot be read (a folder stands in its place)"));
        EXPECT_TRUE((*Control(dialog, "Cancel"))["enabled"]);
        EXPECT_TRUE(dialog["closed_by_standin"]);
        if (script[0] == 'c') {
            EXPECT_EQ(dialog["actions"][0], json({{"action", "check:Keep"}, {"result", "failed"}, {"why", "disabled"}}));
            EXPECT_EQ(dialog["actions"][1]["result"], "skipped");
        }
        EXPECT_TRUE(std::filesystem::is_directory(ini));
        EXPECT_TRUE(std::filesystem::is_empty(ini));
        EXPECT_EQ(r.Messages(), std::vector<std::string>{"ReadIniFile failed"});
    }
}

// Each check box's line is greyed with it, and only then.
TEST(Configure, TheLineUnderACheckBoxIsGreyedWithIt) {
    const std::pair<const char*, bool> cases[] = {{"a file that can be read", true}, {"a folder in its place", false}};
    const char* const rows[][2] = {{"&Keep", "The three whitespace commands"},
                                   {"&Tab", "Replace tab by spaces fills"},
                                   {"Write", "Writes what Quillmendex does"}};
    for (const auto& [what, readable] : cases) {
        SCOPED_TRACE(what);
        HostRun run;
        const std::string ini = run.pluginDir() + "/Quillmendex.ini";
        if (readable)
            WriteFile(ini, "[Settings]\r\nTabStops=1\r\n");
        else
            MakeFolder(ini);
        const Result r = Configure(run, kAfterMenu, readable ? std::vector<std::string>{} : std::vector<std::string>{"click:OK"});
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        const json& dialog = Dialog(r);
        for (const auto& [check, line] : rows) {
            ASSERT_TRUE(Control(dialog, check) && Control(dialog, line)) << check;
            EXPECT_EQ((*Control(dialog, check))["enabled"], readable) << check;
            EXPECT_EQ((*Control(dialog, line))["enabled"], readable) << line;
        }
    }
}

// Where the focus is and which push buttons have the default style.
struct Frame {
    std::string focused;
    std::vector<std::string> defaults;
};
Frame FrameOf(const json& controls) {
    Frame f;
    for (const auto& c : controls) {
        if (c.contains("focused")) f.focused = c["text"];
        if (c.value("default", false)) f.defaults.push_back(c["text"]);
    }
    return f;
}

// As in every Windows dialog: after each key exactly one push button has the
// default style, the one with the focus when a push button has it, else OK
// (also while OK is greyed).
TEST(Configure, AfterEveryTabExactlyOnePushButtonShowsTheDefaultFrame) {
    struct Case {
        const char* what;
        bool readable;
        std::string dialog;
        std::vector<std::pair<std::string, std::string>> frames;  // at opening, then after each action: focus, default
    };
    const std::string folder = "Open &folder";
    const std::string path = "Z:";  // the settings file's path, in its edit box
    const Case cases[] = {
        {"round the dialog and on", true, "key:TAB;key:TAB;key:TAB;key:TAB;key:TAB;key:TAB;key:TAB;key:TAB",
         {{"&Keep", "OK"}, {"&Tab", "OK"}, {"Write", "OK"}, {path, "OK"}, {folder, folder}, {"OK", "OK"},
          {"Cancel", "Cancel"}, {"&Keep", "OK"}, {"&Tab", "OK"}}},
        {"a check box clicked first", true, "check:Write;key:TAB;key:TAB;key:TAB",
         {{"&Keep", "OK"}, {"Write", "OK"}, {path, "OK"}, {folder, folder}, {"OK", "OK"}}},
        {"a file that cannot be read: only the path, Open folder and Cancel take the focus", false,
         "key:TAB;key:TAB;key:TAB;key:TAB",
         {{path, "OK"}, {folder, folder}, {"Cancel", "Cancel"}, {path, "OK"}, {folder, folder}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HostRun run;
        const std::string ini = run.pluginDir() + "/Quillmendex.ini";
        if (c.readable)
            WriteFile(ini, UserFile(""));
        else
            MakeFolder(ini);
        std::vector<std::string> dialogs = {c.dialog};
        if (!c.readable) dialogs.insert(dialogs.begin(), "click:OK");  // "ReadIniFile failed" first
        const Result r = Configure(run, kAfterMenu, dialogs);
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        const json& dialog = Dialog(r);
        std::vector<json> states = {dialog["controls"]};
        for (const auto& a : dialog["actions"]) {
            ASSERT_EQ(a["result"], "done") << a.dump();
            states.push_back(a["controls_after"]);
        }
        ASSERT_EQ(states.size(), c.frames.size());
        for (size_t i = 0; i < states.size(); ++i) {
            const Frame f = FrameOf(states[i]);
            EXPECT_EQ(f.focused.rfind(c.frames[i].first, 0), 0u) << i << ": " << f.focused;
            EXPECT_EQ(f.defaults, std::vector<std::string>{c.frames[i].second}) << i;
        }
        if (c.readable) EXPECT_EQ(ReadFile(ini), UserFile(""));
    }
}

TEST(Configure, AFileThatCannotBeWrittenKeepsTheDialogOpenAndSaysWhy) {
    // The plug-in's folder cannot be written to, so the settings live in the
    // per-user folder, which cannot be written to either.
    HostRun run;
    const std::string roaming = run.dir / "Roaming";
    MakeFolder(roaming + "/EditorPro");
    const std::string ini = roaming + "/EditorPro/Quillmendex.ini";
    WriteFile(ini, UserFile(""));
    ReadOnlyFolder pluginFolder(run.pluginDir()), settingsFolder(roaming + "/EditorPro");
    QUILL_REQUIRE_READ_ONLY(pluginFolder);
    QUILL_REQUIRE_READ_ONLY(settingsFolder);
    run.env("APPDATA", WinPath(roaming)).args({"--settings-key", "Software\\Vendor\\Editor/Pro"});
    const Result r = Configure(run, kAfterMenu, {"check:Keep;click:OK"});
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    ASSERT_EQ(r.Messages().size(), 1u);
    EXPECT_EQ(r.Messages()[0].rfind("Quillmendex could not write its settings to " + WinPath(ini) + ": ", 0), 0u)
        << r.Messages()[0];
    EXPECT_GT(r.Messages()[0].size(), ("Quillmendex could not write its settings to " + WinPath(ini) + ": ").size());
    // The dialog stayed open after the message, until the stand-in closed it.
    EXPECT_TRUE(Dialog(r)["closed_by_standin"]);
    EXPECT_EQ(ReadFile(ini), UserFile(""));
}

TEST(Configure, BeforeAnyMenuRequestTheSettingsAreLocatedAndOnlyOkWrites) {
    struct Case {
        const char* what;
        std::string dialog;
        bool written;
    };
    const Case cases[] = {{"Cancel", "check:Keep;click:Cancel", false}, {"OK", "check:Keep;click:OK", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HostRun run;
        const auto before = Names(run.pluginDir());
        const Result r = Configure(run, kBeforeMenu, {c.dialog});
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_TRUE(r.Messages().empty());
        EXPECT_EQ((*Control(Dialog(r), "Z:"))["text"], WinPath(run.pluginDir() + "/Quillmendex.ini"));
        auto after = before;
        if (c.written) {
            after.push_back("Quillmendex.ini");
            std::sort(after.begin(), after.end());
            EXPECT_EQ(ReadFile(run.pluginDir() + "/Quillmendex.ini"), "[Settings]\r\nKeepStringLiterals=1\r\n");
        }
        EXPECT_EQ(Names(run.pluginDir()), after);  // no probe file left, nothing else written
    }
}

TEST(Configure, BeforeAnyMenuRequestAnOlderSettingsFileIsUsedWhereItIsAndOnlyAMenuRequestMovesIt) {
    // The plug-in's folder cannot be written to, so the settings belong in
    // APPDATA\EditorPro\, and an older APPDATA\Quillmendex.ini waits to be
    // moved there by the first menu request (the usual locating rule).
    const std::string older = "; mine\r\n[Settings]\r\nSavePosition=1\r\nLeft=-5\r\nTop=7\r\n";
    const std::string keep = older + "KeepStringLiterals=1\r\n";
    const std::string configure = "IdentifyPlugIn:1,RegisterAll,Configure,";
    struct Case {
        const char* what;
        std::string sequence, dialog;
        std::string oldAfter, newAfter;  // empty: no such file
    } cases[] = {
        {"Cancel", configure + "OnDestroy", "check:Keep;click:Cancel", older, ""},
        {"Esc", configure + "OnDestroy", "check:Keep;key:ESC", older, ""},
        {"OK writes where the file is", configure + "OnDestroy", "check:Keep;click:OK", keep, ""},
        {"Cancel, then the menu requests move it", configure + "CreateMenuItems,OnDestroy", "check:Keep;click:Cancel",
         "", older},
        {"OK, then the menu requests move it with the change", configure + "CreateMenuItems,OnDestroy",
         "check:Keep;click:OK", "", keep},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HostRun run;
        const std::string roaming = run.dir / "Roaming";
        MakeFolder(roaming + "/EditorPro");
        const std::string oldIni = roaming + "/Quillmendex.ini", newIni = roaming + "/EditorPro/Quillmendex.ini";
        WriteFile(oldIni, older);
        ReadOnlyFolder pluginFolder(run.pluginDir());
        QUILL_REQUIRE_READ_ONLY(pluginFolder);
        run.env("APPDATA", WinPath(roaming)).args({"--settings-key", "Software\\Vendor\\Editor/Pro"});
        const Result r = Configure(run, c.sequence, {c.dialog});
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_TRUE(r.Messages().empty());
        EXPECT_EQ((*Control(Dialog(r), "Z:"))["text"], WinPath(oldIni));
        EXPECT_EQ(Exists(oldIni) ? ReadFile(oldIni) : "", c.oldAfter);
        EXPECT_EQ(Exists(newIni) ? ReadFile(newIni) : "", c.newAfter);
    }
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(Configure, LoggingKeepStringLiteralsAndTabStopsCountAtOnce) {
    struct Case {
        const char* what;
        std::string before, sequence, dialog, out;
        std::vector<std::string> logged;  // what each log line holds, in order
        std::string in = "v := 'a  \r\nb';  \r\n";
    };
    const std::string click = ",OnMenuClick:1,OnDestroy";
    const std::string loaded = "] :Quillmendex 2.2.64.71, " + quilltest::Bitness() + ";";
    const std::string replaceTabs = ",OnMenuClick:2,OnDestroy";
    const Case cases[] = {
        {"logging switched on, then a click", "", kAfterMenu.substr(0, kAfterMenu.rfind(',')) + click,
         "check:Write;click:OK", "v := 'a\r\nb';\r\n",
         {loaded, "] :[Quillmendex] Remove trailing spaces: whole text;"}},
        {"logging switched on before any menu request", "", "IdentifyPlugIn:1,RegisterAll,Configure" + click,
         "check:Write;key:ENTER", "v := 'a\r\nb';\r\n",
         {loaded, "] :[Quillmendex] Remove trailing spaces: whole text;"}},
        // The menu requests read Logging=1 after the dialog: the start line still comes once.
        {"logging switched on before the menu requests", "",
         "IdentifyPlugIn:1,RegisterAll,Configure,CreateMenuItems,OnActivate" + click, "check:Write;click:OK",
         "v := 'a\r\nb';\r\n",
         {loaded, "] :[Quillmendex] Remove trailing spaces: whole text;"}},
        {"logging switched off", "[Settings]\r\nLogging=1\r\n", kAfterMenu.substr(0, kAfterMenu.rfind(',')) + click,
         "uncheck:Write;click:OK", "v := 'a\r\nb';\r\n", {loaded}},
        {"KeepStringLiterals switched on", "", kAfterMenu.substr(0, kAfterMenu.rfind(',')) + click,
         "check:Keep;click:OK", "v := 'a  \r\nb';\r\n", {}},
        {"KeepStringLiterals switched off", "[Settings]\r\nKeepStringLiterals=1\r\n",
         kAfterMenu.substr(0, kAfterMenu.rfind(',')) + click, "uncheck:Keep;click:OK", "v := 'a\r\nb';\r\n", {}},
        {"TabStops switched on", "", kAfterMenu.substr(0, kAfterMenu.rfind(',')) + replaceTabs, "check:Tab;click:OK",
         "ab  c", {}, "ab\tc"},
        {"TabStops switched off", "[Settings]\r\nTabStops=1\r\n", kAfterMenu.substr(0, kAfterMenu.rfind(',')) + replaceTabs,
         "uncheck:Tab;click:OK", "ab    c", {}, "ab\tc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HostRun run;
        if (!c.before.empty()) WriteFile(run.pluginDir() + "/Quillmendex.ini", c.before);
        run.input(c.in).pref("TabPosition", "4");
        const Result r = Configure(run, c.sequence, {c.dialog});
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.out, c.out);
        const auto lines = Lines(ReadFile(run.pluginDir() + "/Quillmendex.dbg"));
        ASSERT_EQ(lines.size(), c.logged.size());
        for (size_t i = 0; i < lines.size(); ++i) EXPECT_NE(lines[i].find(c.logged[i]), std::string::npos) << lines[i];
    }
}

}  // namespace
