#pragma once
// A file handle closed when it goes out of scope (movable, not copyable).
#include <windows.h>

namespace quill {

class FileHandle {
public:
    explicit FileHandle(HANDLE h = INVALID_HANDLE_VALUE) noexcept : h_(h) {}
    ~FileHandle() { reset(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : h_(other.h_) { other.h_ = INVALID_HANDLE_VALUE; }

    explicit operator bool() const noexcept { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const noexcept { return h_; }
    // Closes the handle now; false when the close failed (GetLastError says why).
    bool close() noexcept {
        if (!*this) return true;
        const BOOL ok = CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok != 0;
    }
    void reset(HANDLE h = INVALID_HANDLE_VALUE) noexcept {
        close();
        h_ = h;
    }

private:
    HANDLE h_;
};

}  // namespace quill
