#pragma once
// Where the plug-in's files live and the settings kept in its INI file.
#include <string>

namespace quill {

// The module's folder and the settings file's full path, ANSI code page.
extern std::string PluginDir;
extern std::string IniFileName;

// Works out PluginDir and IniFileName; never fails outward.
void LocatePluginFiles(const std::string& rootDir, const std::string& name, std::string& pluginDir,
                       std::string& iniFileName) noexcept;

// Reads the settings (and switches the log); raises an error on failure.
bool ReadSettings();
// Writes the position values; raises "Unable to write to %s" on failure.
bool WriteSettings();
// What OnDestroy and the About window's close do: WriteSettings once the settings
// were read, with every failure contained.
void StoreSettingsSilently() noexcept;

}  // namespace quill
