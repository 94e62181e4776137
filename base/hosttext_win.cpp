#include "base/hosttext_win.h"

#include <cstring>
#include <vector>

#include "base/convert.h"

namespace quill {

HMODULE ThisModule() noexcept {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

std::u16string ModuleFileName(HMODULE module) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return U(buffer.data());
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::u16string SystemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (n && buffer) {
        text = U(buffer);
        LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
    if (text.empty()) text = u"Windows error " + Utf8ToUtf16(std::to_string(code));
    return text;
}

std::u16string FromAnsi(const char* text) {
    return text ? FromAnsi(std::string_view(text)) : std::u16string();
}

std::u16string FromAnsi(std::string_view text) {
    return ConvertText<std::u16string>(text.size(), [&](char16_t* out, int size) {
        return MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                   reinterpret_cast<wchar_t*>(out), size);
    });
}

std::string ToAnsi(std::u16string_view text) {
    return ConvertText<std::string>(text.size(), [&](char* out, int size) {
        return WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(text.data()),
                                   static_cast<int>(text.size()), out, size, nullptr, nullptr);
    });
}

bool AnsiIsUtf8() noexcept { return GetACP() == CP_UTF8; }

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
