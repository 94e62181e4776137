#include "settings/inifile_win.h"

#include "base/error.h"
#include "base/handles_win.h"
#include "base/hosttext_win.h"
#include "settings/inivalues.h"

namespace quill {

namespace {

constexpr wchar_t kSection[] = L"Settings";
constexpr DWORD kValueChars = 2048;

}  // namespace

IniFile::IniFile(const std::string& ansiPath) : path_(FromAnsi(ansiPath)) {}

IniFile::~IniFile() {
    if (!path_.empty()) WritePrivateProfileStringW(nullptr, nullptr, nullptr, W(path_));
}

std::u16string IniFile::WhyUnreadable() const {
    if (path_.empty()) return u"no settings file was found";
    const DWORD attributes = GetFileAttributesW(W(path_));
    if (attributes == INVALID_FILE_ATTRIBUTES) return {};
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return u"a folder stands in its place";
    FileHandle file(CreateFileW(W(path_), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return SystemErrorText(GetLastError());
    return {};
}

void IniFile::CheckReadable() const {
    if (path_.empty()) throw Error(u"No settings file");
    if (!WhyUnreadable().empty()) throw Error(u"Unable to read " + path_);
}

std::u16string IniFile::ReadString(const wchar_t* key) const {
    wchar_t buffer[kValueChars] = {};
    const DWORD n = GetPrivateProfileStringW(kSection, key, L"", buffer, kValueChars, W(path_));
    return std::u16string(reinterpret_cast<const char16_t*>(buffer), n);
}

int32_t IniFile::ReadInteger(const wchar_t* key, int32_t def) const { return IniInteger(ReadString(key), def); }

bool IniFile::ReadBool(const wchar_t* key, bool def) const { return IniBool(ReadString(key), def); }

// An empty name would make the platform pick a file in the Windows folder.
std::u16string IniFile::TryWriteString(const wchar_t* key, const std::u16string& value) const {
    if (path_.empty()) return u"no settings file was found";
    SetLastError(ERROR_SUCCESS);
    if (WritePrivateProfileStringW(kSection, key, W(value), W(path_))) return {};
    const DWORD code = GetLastError();
    return code == ERROR_SUCCESS ? u"Windows did not say why" : SystemErrorText(code);
}

void IniFile::WriteString(const wchar_t* key, const std::u16string& value) const {
    if (!TryWriteString(key, value).empty()) throw Error(u"Unable to write to " + path_);
}

void IniFile::WriteInteger(const wchar_t* key, int32_t value) const { WriteString(key, IniIntegerText(value)); }

void IniFile::WriteBool(const wchar_t* key, bool value) const { WriteString(key, IniBoolText(value)); }

std::u16string IniFile::TryWriteBool(const wchar_t* key, bool value) const {
    return TryWriteString(key, IniBoolText(value));
}

}  // namespace quill
