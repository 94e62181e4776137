#include "base/hosttext_win.h"

#include <cstring>
#include <limits>
#include <new>

namespace quill {

HMODULE ThisModule() noexcept {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

std::u16string FromAnsi(const char* text) {
    return text ? FromAnsi(std::string_view(text)) : std::u16string();
}

std::u16string FromAnsi(std::string_view text) {
    std::u16string out;
    if (text.empty()) return out;
    if (text.size() > static_cast<size_t>(std::numeric_limits<int>::max())) throw std::bad_alloc();
    const int n = static_cast<int>(text.size());
    int len = MultiByteToWideChar(CP_ACP, 0, text.data(), n, nullptr, 0);
    if (len <= 0) return out;
    out.resize(static_cast<size_t>(len));
    MultiByteToWideChar(CP_ACP, 0, text.data(), n, reinterpret_cast<wchar_t*>(out.data()), len);
    return out;
}

std::string ToAnsi(std::u16string_view text) {
    std::string out;
    if (text.empty()) return out;
    if (text.size() > static_cast<size_t>(std::numeric_limits<int>::max())) throw std::bad_alloc();
    const int n = static_cast<int>(text.size());
    auto src = reinterpret_cast<const wchar_t*>(text.data());
    int len = WideCharToMultiByte(CP_ACP, 0, src, n, nullptr, 0, nullptr, nullptr);
    if (len <= 0) return out;
    out.resize(static_cast<size_t>(len));
    WideCharToMultiByte(CP_ACP, 0, src, n, out.data(), len, nullptr, nullptr);
    return out;
}

HostText ToHostText(std::u16string_view text) {
    // Sized from the converted bytes, so double-byte code pages fit.
    const std::string bytes = ToAnsi(text);
    HostText buffer(new char[bytes.size() + 1]);
    const size_t n = strnlen(bytes.data(), bytes.size());
    std::memcpy(buffer.get(), bytes.data(), n);
    buffer[n] = '\0';
    return buffer;
}

}  // namespace quill
