// Where the plug-in's files live: the module's folder when it can be written to,
// else a per-user folder under APPDATA named after the IDE's settings key.
#include <windows.h>

#include <vector>

#include "base/callbacks_win.h"
#include "base/handles_win.h"
#include "settings/locate.h"
#include "base/hosttext_win.h"
#include "settings/settings_win.h"

namespace quill {

std::string PluginDir;
std::string IniFileName;

namespace {

constexpr char16_t kProbeName[] = u"chk.tmp";
constexpr char kFallbackFolder[] = "PlugIns";

// The full name of the plug-in's own file, of at most MAX_PATH characters; "" otherwise.
std::u16string ShortModuleFileName() {
    std::u16string name = ModuleFileName();
    return name.size() <= MAX_PATH ? name : std::u16string();
}

// The value of an environment variable of any length; "" when it is not set.
std::u16string EnvironmentValue(const wchar_t* name) {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        const DWORD n = GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), n);
        buffer.resize(n);  // n counts the terminating NUL when the buffer was too small
    }
}

DWORD Attributes(const std::u16string& path) noexcept { return GetFileAttributesW(W(path)); }

bool IsFile(const std::u16string& path) noexcept {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::u16string& path) noexcept {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The absolute form of a path; "" when it has none within MAX_PATH.
std::u16string FullPath(const std::u16string& path) {
    if (path.empty()) return {};
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = GetFullPathNameW(W(path), MAX_PATH, buffer, nullptr);
    if (n == 0 || n >= MAX_PATH) return {};
    return U(buffer);
}

}  // namespace

bool IsFolderWritable(const std::u16string& folder) noexcept {
    try {
        std::u16string path = folder;
        if (path.empty() || path.back() != u'\\') path += u'\\';
        path += kProbeName;
        FileHandle probe(CreateFileW(W(path), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_FLAG_DELETE_ON_CLOSE | FILE_ATTRIBUTE_TEMPORARY, nullptr));
        const bool writable = static_cast<bool>(probe);
        probe.close();  // deletes the probe file
        // Also clears away a probe file that an earlier run left behind.
        DeleteFileW(W(path));
        return writable;
    } catch (...) {
        return false;
    }
}

namespace {

// Whether MoveSettingsFile moves oldPath to newPath; from and to get their full forms.
bool WouldMove(const std::string& oldPath, const std::string& newPath, std::u16string& from, std::u16string& to) {
    from = FullPath(FromAnsi(oldPath));
    to = FullPath(FromAnsi(newPath));
    if (from.empty() || to.empty() || !HasValidPathChars(from) || !HasValidPathChars(to)) return false;
    return IsFile(from) && IsFolder(FileFolder(to)) && Attributes(to) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void MoveSettingsFile(const std::string& oldPath, const std::string& newPath) noexcept {
    try {
        std::u16string from, to;
        if (!WouldMove(oldPath, newPath, from, to)) return;
        if (SameRoot(from, to)) {
            MoveFileW(W(from), W(to));  // never replaces an existing file
        } else if (CopyFileW(W(from), W(to), TRUE)) {
            DeleteFileW(W(from));
        }
    } catch (...) {
    }
}

void LocatePluginFiles(const std::string& rootDir, const std::string& name, std::string& pluginDir,
                       std::string& iniFileName, bool move) noexcept {
    try {
        pluginDir = ToAnsi(FileFolder(ShortModuleFileName()));
        if (pluginDir.empty()) pluginDir = rootDir + kFallbackFolder;
        const std::u16string wideName = FromAnsi(name);
        if (IsFolderWritable(FromAnsi(pluginDir))) {
            iniFileName = ToAnsi(IniPathIn(FromAnsi(pluginDir), wideName));
            return;
        }
        const PerUserPaths paths =
            PerUserSettingsPaths(EnvironmentValue(L"APPDATA"), host::SettingsKey(), wideName);
        iniFileName = ToAnsi(paths.newPath);
        const std::string oldPath = ToAnsi(paths.oldPath);
        if (move) {
            MoveSettingsFile(oldPath, iniFileName);
            return;
        }
        // The older file stays where it is, and is the settings file until it is moved.
        std::u16string from, to;
        if (WouldMove(oldPath, iniFileName, from, to)) iniFileName = oldPath;
    } catch (...) {
        // Locating never fails outward; whatever was assigned keeps its value.
    }
}

}  // namespace quill
