#include "about/version_win.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "base/hosttext_win.h"

namespace quill {

std::u16string FileVersionText(const std::u16string& path) noexcept {
    try {
        if (path.empty()) return {};
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(W(path), &ignored);
        if (size == 0) return {};
        std::vector<unsigned char> block(size);
        if (!GetFileVersionInfoW(W(path), 0, size, block.data())) return {};
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(block.data(), L"StringFileInfo\\040904E4\\FileVersion", &value, &length) || !value)
            return {};
        // The value ends at its NUL, and never beyond the block.
        const auto* at = static_cast<const unsigned char*>(value);
        if (at < block.data() || at >= block.data() + block.size()) return {};
        const auto* text = static_cast<const wchar_t*>(value);
        const size_t room = static_cast<size_t>(block.data() + block.size() - at) / sizeof(wchar_t);
        return std::u16string(reinterpret_cast<const char16_t*>(text), wcsnlen(text, room));
    } catch (...) {
        return {};
    }
}

std::u16string GetFileVersionText() noexcept {
    try {
        return FileVersionText(ModuleFileName(ThisModule()));
    } catch (...) {
        return {};
    }
}

}  // namespace quill
