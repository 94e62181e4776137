#pragma once
// What the settings tests share: a folder made really read-only for the run (a
// read-only bind mount of the folder onto itself, which refuses writes even to
// root), and the settings file's usual contents.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "harness.h"

namespace settingstest {

inline const std::string kDefaults = "[Settings]\r\nSavePosition=1\r\nLeft=0\r\nTop=0\r\n";

inline std::string Settings(const std::string& savePosition, const std::string& left, const std::string& top) {
    return "[Settings]\r\nSavePosition=" + savePosition + "\r\nLeft=" + left + "\r\nTop=" + top + "\r\n";
}

// The folder is read-only while the object lives. Needs CAP_SYS_ADMIN (root in
// the machine or in a container allowed to mount); without it, why() says so.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string path) : path_(std::move(path)) {
        if (mount(path_.c_str(), path_.c_str(), nullptr, MS_BIND, nullptr) != 0) {
            why_ = std::string("cannot bind-mount a folder onto itself (") + std::strerror(errno) +
                   "); a read-only folder needs the right to mount (root with CAP_SYS_ADMIN)";
            return;
        }
        mounted_ = true;
        if (mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
            why_ = std::string("cannot remount read-only (") + std::strerror(errno) + ")";
            return;
        }
        if (access(path_.c_str(), W_OK) == 0 || errno != EROFS) why_ = "the read-only mount still accepts writes";
    }
    ~ReadOnlyFolder() {
        if (mounted_) umount2(path_.c_str(), MNT_DETACH);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    // Empty when the folder is read-only.
    const std::string& why() const { return why_; }

private:
    std::string path_;
    bool mounted_ = false;
    std::string why_;
};

#define QUILL_REQUIRE_READ_ONLY(folder) \
    if (!(folder).why().empty()) GTEST_SKIP() << (folder).why()

inline void MakeFolder(const std::string& path) { std::filesystem::create_directories(path); }

// Files directly in a folder, by name (to see that nothing else appeared).
inline std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace settingstest
