#pragma once
// The text rules behind finding the plug-in's files: the module's folder, the
// per-user settings paths built from the IDE's settings key, and the checks made
// before an older settings file is moved. Paths use "\" as Windows does.
#include <string>
#include <string_view>

namespace quill {

// The folder of a file: the text before the last "\", except that a file at the
// root of a drive keeps the "\" after "C:". No "\" at all gives "".
std::u16string FileFolder(std::u16string_view path);

// The last segment of the settings key, from its last "\" (kept) to the end, or
// the whole key when it has none; every "/" removed. "" stays "".
std::u16string SettingsKeySegment(std::u16string_view key);

// folder + "\" (unless folder already ends with one) + name + ".ini".
std::u16string IniPathIn(std::u16string_view folder, std::u16string_view name);

// The older per-user settings file (directly in APPDATA) and the current one (in
// the folder named by the settings key's last segment, joined to APPDATA as is).
struct PerUserPaths {
    std::u16string oldPath, newPath;
};
PerUserPaths PerUserSettingsPaths(std::u16string_view appData, std::u16string_view settingsKey,
                                  std::u16string_view name);

// No control characters and none of < > | " * ? (a ":" is left to the file system).
bool HasValidPathChars(std::u16string_view path);

// The root of a full path: "C:\" for a drive, "\\server\share\" for a share,
// "" when it has neither. Roots compare without regard to ASCII case.
std::u16string PathRoot(std::u16string_view fullPath);
bool SameRoot(std::u16string_view a, std::u16string_view b);

}  // namespace quill
