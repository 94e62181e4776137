#pragma once
// Where the plug-in's files live and the settings kept in its INI file.
#include <string>

namespace quill {

// The module's folder and the settings file's full path, ANSI code page.
extern std::string PluginDir;
extern std::string IniFileName;

// Works out PluginDir and IniFileName; never fails outward. Without move, an
// older settings file that would be moved stays where it is, and IniFileName
// names it there (the next run with move moves it, with what was written to it).
void LocatePluginFiles(const std::string& rootDir, const std::string& name, std::string& pluginDir,
                       std::string& iniFileName, bool move = true) noexcept;

// Whether a file can be created in folder: creates "chk.tmp" there exclusively,
// deleted on close, and then deletes any "chk.tmp" an earlier run left behind.
bool IsFolderWritable(const std::u16string& folder) noexcept;
// Moves an older settings file to newPath (ANSI paths) when it exists, newPath's
// folder exists and nothing is at newPath yet; every failure is swallowed.
void MoveSettingsFile(const std::string& oldPath, const std::string& newPath) noexcept;

// Reads the settings (and switches the log); raises an error on failure. An
// existing settings file that cannot be opened for reading is a failure; a
// missing file, section or key gives the defaults.
bool ReadSettings();
// Writes the position values; raises "Unable to write to %s" on failure.
bool WriteSettings();
// "KeepStringLiterals" of the settings file, read anew at each call: true for a
// non-zero integer; false when it is missing, 0 or no integer, and when the
// file cannot be read. Never fails, never written by the plug-in.
bool KeepStringLiterals() noexcept;
// "TabStops" the same way: Replace tab by spaces puts each tab's spaces up to
// its next tab stop instead of TabPosition of them.
bool TabStops() noexcept;

// What OnDestroy and the About window's close do: WriteSettings once the settings
// were read, with every failure contained.
void StoreSettingsSilently() noexcept;

}  // namespace quill
