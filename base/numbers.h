#pragma once
// Reading integers the way the plug-in's settings and the IDE's preferences
// write them: leading spaces, one sign, then decimal digits, or hexadecimal
// digits after "$", "x" or "0x" (either case of the x); nothing may follow, and
// the value must lie in the 32-bit signed range.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quill {

std::optional<int32_t> ParseInt32(std::u16string_view text) noexcept;

// The error text for a value that is no integer: "'%s' is not a valid integer value".
std::u16string InvalidIntegerText(std::u16string_view text);

// ParseInt32, or an error (quill::Error) with InvalidIntegerText.
int32_t StrToInt(std::u16string_view text);

}  // namespace quill
