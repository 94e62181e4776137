// The settings file: section "Settings" with "Logging" (read only),
// "SavePosition", "Left" and "Top". The position values are carried through
// unchanged: read at the first menu request, written back at OnDestroy and after
// the About window closes.
#include "settings/settings_win.h"

#include <windows.h>

#include "base/error.h"
#include "base/handles_win.h"
#include "settings/inifile_win.h"
#include "settings/keys.h"
#include "settings/logger.h"
#include "base/hosttext_win.h"

namespace quill {

namespace {

bool SavePosition = false;
int32_t SavedLeft = 0;
int32_t SavedTop = 0;
// Set once ReadSettings has completed; until then the values above are the
// load-time ones and must never replace what the user's file holds.
bool SettingsRead = false;

}  // namespace

bool ReadSettings() {
    IniFile ini(IniFileName);
    ini.CheckReadable();
    SetLoggingFromSettings(ini.ReadBool(W(keys::kLogging), false), ini.path());
    SavePosition = ini.ReadBool(W(keys::kSavePosition), true);
    if (SavePosition) {
        SavedLeft = ini.ReadInteger(W(keys::kLeft), 0);
        SavedTop = ini.ReadInteger(W(keys::kTop), 0);
    }
    SettingsRead = true;
    return true;
}

bool WriteSettings() {
    IniFile ini(IniFileName);
    ini.WriteBool(W(keys::kSavePosition), SavePosition);
    ini.WriteInteger(W(keys::kLeft), SavedLeft);
    ini.WriteInteger(W(keys::kTop), SavedTop);
    return true;
}

namespace {

// A switch that the commands read at each click: off when the file cannot be read.
bool ReadClickSwitch(const wchar_t* key) noexcept {
    try {
        IniFile ini(IniFileName);
        ini.CheckReadable();
        return ini.ReadBool(key, false);
    } catch (...) {
        return false;
    }
}

}  // namespace

bool KeepStringLiterals() noexcept { return ReadClickSwitch(W(keys::kKeepStringLiterals)); }

bool TabStops() noexcept { return ReadClickSwitch(W(keys::kTabStops)); }

void StoreSettingsSilently() noexcept {
    if (!SettingsRead) return;
    try {
        WriteSettings();
    } catch (...) {
        // Neither the IDE nor the user hears of a settings file that cannot be written.
    }
}

}  // namespace quill
