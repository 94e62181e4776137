#include "settings/settings_win.h"

namespace quill {

std::string PluginDir;
std::string IniFileName;

void LocatePluginFiles(const std::string& rootDir, const std::string&, std::string& pluginDir,
                       std::string&) noexcept {
    pluginDir = rootDir + "PlugIns";
}

bool ReadSettings() { return true; }
bool WriteSettings() { return true; }
void StoreSettingsSilently() noexcept {}

}  // namespace quill
