#include "host/plugin_win.h"

#include <windows.h>

#include "about/about_win.h"
#include "commands/commands_win.h"
#include "base/callbacks_win.h"
#include "host/menu.h"
#include "base/hosttext_win.h"
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

void Locate() { LocatePluginFiles(RootDirOrEmpty(), menu::kPluginName, PluginDir, IniFileName); }

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
        } catch (...) {
            if (!ReadFailureShown) {
                ReadFailureShown = true;
                ShowMessage(u"ReadIniFile failed");
            }
        }
    }
    if (index == 1) Locate();
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
    if (!item) return;
    commands::Outcome outcome;
    switch (item->command) {
        case menu::Command::RemoveTrailingSpaces: commands::RemoveTrailingSpaces(outcome); break;
        case menu::Command::ReplaceTabBySpaces: commands::ReplaceTabBySpaces(outcome); break;
        case menu::Command::RemoveBlankLines: commands::RemoveBlankLines(outcome); break;
        case menu::Command::AddPair: commands::AddAroundSelection(item->pairKind, outcome); break;
        case menu::Command::RemovePair: commands::RemoveAroundSelection(item->pairKind, outcome); break;
        case menu::Command::About: ShowAboutWindow(); break;
        case menu::Command::None: break;
    }
}

void OnWindowChange() { host::SetMenuState(PluginId, 1, host::WindowType() != 0); }

void OnDestroy() { StoreSettingsSilently(); }

void ShowMessage(const std::u16string& text) noexcept {
    MessageBoxW(GetActiveWindow(), W(text), L"Quillmendex", MB_OK | MB_TASKMODAL);
}

}  // namespace quill::plugin
