#pragma once
// The text transforms of the whitespace commands. Each is one linear pass over
// UTF-16 text and gives exactly what replacing a pattern again and again, until
// it no longer occurs, would give:
//   TrimTrailingSpaces   " \r\n"     -> "\r\n"
//   ExpandTabs           "\t"        -> width spaces (none for a width <= 0)
//   SqueezeBlankLines    "\r\n\r\n"  -> "\r\n"
// Only CR LF is a line break; a lone CR or LF is an ordinary character, and only
// U+0020 is a space. Each returns nothing when the text would not change, so an
// unchanged text is neither copied nor compared.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quill::commands {

// The longest text that can cross the host boundary (its conversions count in int).
inline constexpr size_t kMaxTextLength = 0x7FFFFFFF;

std::optional<std::u16string> TrimTrailingSpaces(std::u16string_view text);

// Throws std::bad_alloc when the result would be longer than kMaxTextLength.
std::optional<std::u16string> ExpandTabs(std::u16string_view text, int32_t width);

std::optional<std::u16string> SqueezeBlankLines(std::u16string_view text);

}  // namespace quill::commands
