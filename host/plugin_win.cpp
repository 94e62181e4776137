#include "host/plugin_win.h"

#include <windows.h>

#include <chrono>

#include "about/about_win.h"
#include "about/version_win.h"
#include "base/callbacks_win.h"
#include "base/error.h"
#include "base/hosttext_win.h"
#include "commands/commands_win.h"
#include "configure/settingsdialog_win.h"
#include "host/commandlog.h"
#include "host/menu.h"
#include "settings/logger.h"
#include "settings/settings_win.h"

namespace quill::plugin {

int32_t PluginId = 0;
bool PluginInitialized = false;

namespace {

// "ReadIniFile failed" is shown at the first failed reading of a load only: the
// IDE asks for 99 menu items at start, and each asks to read again.
bool ReadFailureShown = false;

// The root folder from the IDE; a missing callback counts as an empty root,
// since locating the plug-in's files never fails outward.
std::string RootDirOrEmpty() noexcept {
    try {
        return host::RootDir();
    } catch (...) {
        return {};
    }
}

void Locate(bool move = true) {
    LocatePluginFiles(RootDirOrEmpty(), menu::kPluginName, PluginDir, IniFileName, move);
}

// The plug-in's own lines in the diagnostic log: one that cannot be written
// disturbs nothing and is not shown.
void Log(const std::u16string& line) noexcept {
    try {
        WriteLog(line, 0, 1);
    } catch (...) {
    }
}

// The log file that the line of LogLoad last went into.
std::u16string LoadLoggedTo;

// What is loaded, from where, with which settings: when the settings have been
// read, or the settings dialog switched the log on; once per load in each log
// file (the dialog may switch it on before the settings are read at the first
// menu request, which switches it on again).
void LogLoad() noexcept {
    if (!IsLoggingEnabled()) return;
    try {
        const std::u16string file = GetLogFile();
        if (file == LoadLoggedTo) return;
        LoadLoggedTo = file;
        Log(LoadLogLine(GetFileVersionText(), static_cast<int>(sizeof(void*) * 8), ModuleFileName(),
                        FromAnsi(IniFileName), GetACP()));
    } catch (...) {
    }
}

// Runs the command of a menu item; what it did goes into outcome.
void Run(const menu::Item& item, commands::Outcome& outcome) {
    switch (item.command) {
        case menu::Command::RemoveTrailingSpaces: commands::RemoveTrailingSpaces(outcome); break;
        case menu::Command::ReplaceTabBySpaces: commands::ReplaceTabBySpaces(outcome); break;
        case menu::Command::RemoveBlankLines: commands::RemoveBlankLines(outcome); break;
        case menu::Command::AddPair: commands::AddAroundSelection(item.pairKind, outcome); break;
        case menu::Command::RemovePair: commands::RemoveAroundSelection(item.pairKind, outcome); break;
        case menu::Command::About: ShowAboutWindow(); break;
        case menu::Command::None: break;
    }
}

bool IsWhitespaceCommand(menu::Command c) {
    return c == menu::Command::RemoveTrailingSpaces || c == menu::Command::ReplaceTabBySpaces ||
           c == menu::Command::RemoveBlankLines;
}

}  // namespace

const char* IdentifyPlugIn(int32_t id) noexcept {
    PluginId = id;
    return menu::kPluginName;
}

void InitializeForMenuRequest(int32_t index) {
    if (!PluginInitialized) {
        Locate();
        try {
            ReadSettings();
            PluginInitialized = true;
            LogLoad();
        } catch (...) {
            if (!ReadFailureShown) {
                ReadFailureShown = true;
                ShowMessage(u"ReadIniFile failed");
            }
        }
    }
    // The IDE asks for the items from the first one up each time it builds its
    // menus: the files are located anew once a round, not for every item.
    if (index == menu::kFirstItem) Locate();
}

void OnActivate() {
    for (const menu::Item& item : menu::Items()) {
        if (!item.bitmap) continue;
        const std::u16string path = FromAnsi(PluginDir) + u"\\" + FromAnsi(item.bitmap);
        HostText text = ToHostText(path);
        host::CreateToolButton(PluginId, item.index, item.caption, text.get());
    }
}

void OnMenuClick(int32_t index) {
    const menu::Item* item = menu::Find(index);
    if (!item || item->command == menu::Command::None) return;
    commands::Outcome outcome;
    std::u16string message;
    const auto start = std::chrono::steady_clock::now();
    try {
        Run(*item, outcome);
    } catch (...) {
        message = CurrentErrorText();
    }
    if (IsLoggingEnabled()) {
        // Written before any message box, and without the time it stays open.
        const std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - start;
        try {
            Log(item->command == menu::Command::About
                    ? AboutLogLine(item->caption, ms.count(), message)
                    : CommandLogLine(item->caption, outcome, IsWhitespaceCommand(item->command), ms.count(), message));
        } catch (...) {
        }
    }
    if (!message.empty()) ShowMessage(message);
}

// The first item only, as the plug-in always did: the host keeps the others'
// state, so which commands can be clicked with no window open stays as users know it.
void OnWindowChange() { host::SetMenuState(PluginId, menu::kFirstItem, host::WindowType() != 0); }

void OnDestroy() { StoreSettingsSilently(); }

void Configure() {
    // Located without moving an older settings file: only the first menu request moves it.
    if (!PluginInitialized) Locate(false);
    const SettingsDialogResult result = ShowSettingsDialog(GetActiveWindow(), FromAnsi(IniFileName));
    // Switched on here, the log starts as it does at a start with the key set.
    if (result.loggingSwitchedOn) LogLoad();
}

void ShowMessage(const std::u16string& text) noexcept {
    MessageBoxW(GetActiveWindow(), W(text), L"Quillmendex", MB_OK | MB_TASKMODAL);
}

}  // namespace quill::plugin
