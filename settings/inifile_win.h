#pragma once
// The settings file for one sequence of reads or writes, section "Settings".
// Each value is read or written on its own by the platform's private-profile
// functions, and what they keep of the rest of the file is theirs: Windows
// changes the key's line alone; Wine, when a value changes, writes the whole
// file anew from what it read (tests/e2e/settings_file_e2e.cpp says what stays).
// The platform's cache of the file is flushed when the object goes.
#include <windows.h>

#include <cstdint>
#include <string>

namespace quill {

class IniFile {
public:
    explicit IniFile(const std::string& ansiPath);
    explicit IniFile(std::u16string path) : path_(std::move(path)) {}
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const std::u16string& path() const noexcept { return path_; }

    // A settings file that exists but cannot be opened for reading (locked by
    // another program, no access, a folder of that name) would otherwise read
    // as defaults, which the next write would then store over the user's
    // values. A file that is not there is fine: it reads as defaults.
    // CheckReadable raises "Unable to read PATH"; WhyUnreadable gives the
    // reason in a few words, empty when the file can be read or is not there.
    void CheckReadable() const;
    std::u16string WhyUnreadable() const;

    std::u16string ReadString(const wchar_t* key) const;
    int32_t ReadInteger(const wchar_t* key, int32_t def) const;
    bool ReadBool(const wchar_t* key, bool def) const;

    // Raise "Unable to write to PATH" on failure.
    void WriteString(const wchar_t* key, const std::u16string& value) const;
    void WriteInteger(const wchar_t* key, int32_t value) const;
    void WriteBool(const wchar_t* key, bool value) const;
    // The same without raising: the system's reason on failure, empty on success.
    std::u16string TryWriteString(const wchar_t* key, const std::u16string& value) const;
    std::u16string TryWriteBool(const wchar_t* key, bool value) const;

private:
    std::u16string path_;
};

}  // namespace quill
