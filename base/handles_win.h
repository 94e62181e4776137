#pragma once
// One shape for every handle that must be given back, in the manner of WIL's
// unique_any: the owner hands it to Close when it goes out of scope or is reset,
// once. Movable, not copyable. The default (null) value is none, and so is
// INVALID_HANDLE_VALUE, which the file functions return instead.
//   FileHandle file(CreateFileW(...));   if (!file) ...;   file.get()
#include <windows.h>

#include <type_traits>
#include <utility>

namespace quill {

template <class H, auto Close>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(H h) noexcept : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    explicit operator bool() const noexcept { return !IsNone(h_); }
    H get() const noexcept { return h_; }
    H release() noexcept { return std::exchange(h_, H{}); }
    // Closes the handle now; false when Close failed (GetLastError says why).
    bool close() noexcept { return IsNone(h_) || static_cast<bool>(Close(release())); }
    void reset(H h = H{}) noexcept {
        if (!IsNone(h_)) Close(h_);
        h_ = h;
    }

private:
    static bool IsNone(const H& h) noexcept {
        if constexpr (std::is_same_v<H, HANDLE>)
            return h == nullptr || h == INVALID_HANDLE_VALUE;
        else
            return h == H{};
    }

    H h_{};
};

using FileHandle = UniqueHandle<HANDLE, CloseHandle>;

}  // namespace quill
