#pragma once
// Helpers of the Windows tests: a folder of their own, removed afterwards, and
// files read and written as bytes, all through the platform's file functions.
#include <windows.h>

#include <atomic>
#include <string>

namespace quilltest {

// Windows wide text as the portable code's UTF-16 (wchar_t is 16 bits there).
inline std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

inline std::wstring Join(const std::wstring& folder, const std::wstring& name) { return folder + L"\\" + name; }

inline void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = Join(path, name);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

// A new folder under base (the user's temp folder when base is empty).
class TempFolder {
public:
    explicit TempFolder(std::wstring base = {}) {
        if (base.empty()) {
            wchar_t temp[MAX_PATH];
            GetTempPathW(MAX_PATH, temp);
            base = temp;
        }
        if (!base.empty() && base.back() == L'\\') base.pop_back();
        static std::atomic<int> counter{0};
        for (;;) {
            path_ = Join(base, L"quill-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
            if (CreateDirectoryW(path_.c_str(), nullptr)) break;
        }
    }
    ~TempFolder() { RemoveTree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return Join(path_, name); }

private:
    std::wstring path_;
};

inline bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::string ReadBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
    CloseHandle(file);
    return bytes;
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD n = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(file);
}

}  // namespace quilltest
