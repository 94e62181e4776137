#pragma once
// Helpers shared by the plug-in's Windows code: the module's own handle, and
// text crossing the host boundary in the system ANSI code page.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quill {

// The module holding this code (the plug-in DLL, or a test program linking it).
HMODULE ThisModule() noexcept;
// The full file name of a module (by default this one), however long; "" on failure.
std::u16string ModuleFileName(HMODULE module = ThisModule());

// Host text (NUL-terminated, ANSI code page) to UTF-16; null gives "".
std::u16string FromAnsi(const char* text);
std::u16string FromAnsi(std::string_view text);
// UTF-16 to ANSI code page bytes, as the IDE converts: no flags, the code
// page's default character for what it lacks, best-fit look-alikes where it has them.
std::string ToAnsi(std::u16string_view text);
// Both raise kConversionFailedText (quill::Error) when the platform fails.

// The system's sentence for an error code (GetLastError), without its line
// break; "Windows error N" when it has none.
std::u16string SystemErrorText(DWORD code);

// Whether the system ANSI code page is UTF-8 (65001).
bool AnsiIsUtf8() noexcept;

inline const wchar_t* W(const std::u16string& s) noexcept { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline const wchar_t* W(const char16_t* s) noexcept { return reinterpret_cast<const wchar_t*>(s); }
inline std::u16string U(const wchar_t* s) { return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string(); }

// A NUL-terminated ANSI buffer for the host, released by its owner after the call.
using HostText = std::unique_ptr<char[]>;
HostText ToHostText(std::u16string_view text);

// The window a 32-bit handle from the host names (widened with its sign).
inline HWND EditorWindow(int32_t handle) noexcept {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
}

}  // namespace quill
