// The settings file: section "Settings" with "Logging" (read only),
// "SavePosition", "Left" and "Top". The position values are carried through
// unchanged: read at the first menu request, written back at OnDestroy and after
// the About window closes.
#include "settings/settings_win.h"

#include <windows.h>

#include "base/error.h"
#include "base/handles_win.h"
#include "settings/inivalues.h"
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

constexpr wchar_t kSection[] = L"Settings";
constexpr DWORD kValueChars = 2048;

// The settings file for one sequence of reads or writes. Each value is read or
// written on its own by the private-profile functions; the platform's cache of
// the file is flushed when the object goes.
class IniFile {
public:
    explicit IniFile(const std::string& ansiPath) : path_(FromAnsi(ansiPath)) {}
    ~IniFile() {
        if (!path_.empty()) WritePrivateProfileStringW(nullptr, nullptr, nullptr, W(path_));
    }
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const std::u16string& path() const noexcept { return path_; }

    // A settings file that exists but cannot be opened for reading (locked by
    // another program, no access, a folder of that name) would otherwise read
    // as defaults, which the next write would then store over the user's
    // values. A file that is not there is fine: it reads as defaults.
    void CheckReadable() const {
        if (path_.empty()) throw Error(u"No settings file");
        if (GetFileAttributesW(W(path_)) == INVALID_FILE_ATTRIBUTES) return;
        FileHandle file(CreateFileW(W(path_), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) throw Error(u"Unable to read " + path_);
    }

    std::u16string ReadString(const wchar_t* key) const {
        wchar_t buffer[kValueChars] = {};
        const DWORD n = GetPrivateProfileStringW(kSection, key, L"", buffer, kValueChars, W(path_));
        return std::u16string(reinterpret_cast<const char16_t*>(buffer), n);
    }
    int32_t ReadInteger(const wchar_t* key, int32_t def) const { return IniInteger(ReadString(key), def); }
    bool ReadBool(const wchar_t* key, bool def) const { return IniBool(ReadString(key), def); }

    // An empty name would make the platform pick a file in the Windows folder.
    void WriteString(const wchar_t* key, const std::u16string& value) const {
        if (path_.empty() || !WritePrivateProfileStringW(kSection, key, W(value), W(path_)))
            throw Error(u"Unable to write to " + path_);
    }
    void WriteInteger(const wchar_t* key, int32_t value) const { WriteString(key, IniIntegerText(value)); }
    void WriteBool(const wchar_t* key, bool value) const { WriteString(key, IniBoolText(value)); }

private:
    std::u16string path_;
};

}  // namespace

bool ReadSettings() {
    IniFile ini(IniFileName);
    ini.CheckReadable();
    if (ini.ReadBool(L"Logging", false)) {
        SetLogFile(ChangeFileExt(ini.path(), u".dbg"));
        EnableLogging();
    } else {
        DisableLogging();
    }
    SavePosition = ini.ReadBool(L"SavePosition", true);
    if (SavePosition) {
        SavedLeft = ini.ReadInteger(L"Left", 0);
        SavedTop = ini.ReadInteger(L"Top", 0);
    }
    SettingsRead = true;
    return true;
}

bool WriteSettings() {
    IniFile ini(IniFileName);
    ini.WriteBool(L"SavePosition", SavePosition);
    ini.WriteInteger(L"Left", SavedLeft);
    ini.WriteInteger(L"Top", SavedTop);
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

bool KeepStringLiterals() noexcept { return ReadClickSwitch(L"KeepStringLiterals"); }

bool TabStops() noexcept { return ReadClickSwitch(L"TabStops"); }

void StoreSettingsSilently() noexcept {
    if (!SettingsRead) return;
    try {
        WriteSettings();
    } catch (...) {
        // Neither the IDE nor the user hears of a settings file that cannot be written.
    }
}

}  // namespace quill
