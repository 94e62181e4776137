#pragma once
// The text transforms of the whitespace commands. Each is one linear pass over
// UTF-16 text and gives exactly what replacing a pattern again and again, until
// it no longer occurs, would give:
//   TrimTrailingSpaces   " \r\n"     -> "\r\n"
//   ExpandTabs           "\t"        -> width spaces (none for a width <= 0)
//   SqueezeBlankLines    "\r\n\r\n"  -> "\r\n"
// Only CR LF is a line break; a lone CR or LF is an ordinary character, and only
// U+0020 is a space. Each tells whether the text changed, so an unchanged text
// is neither copied nor compared.
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>

#include "commands/literals.h"

namespace quill::commands {

// The longest text that can cross the host boundary (its conversions count in int).
inline constexpr size_t kMaxTextLength = 0x7FFFFFFF;

// What the transforms that lengthen a text throw, before they build anything,
// when the result would be longer than the limit they were given: its length,
// counted exactly in 64 bits (whatever the width of size_t). A bad_alloc, as
// std::bad_array_new_length is: a result too long to be made.
class ResultTooLong : public std::bad_alloc {
public:
    explicit ResultTooLong(uint64_t length) noexcept : length(length) {}
    const char* what() const noexcept override { return "result too long"; }
    uint64_t length;
};

// The longest result a transform may make (at most kMaxTextLength); a type of
// its own, so that no braces or number are taken for it by mistake.
struct MaxLength {
    explicit constexpr MaxLength(size_t n) noexcept : n(n) {}
    size_t n;
};

// In place, as they only ever shorten the text: true when it changed.
bool TrimTrailingSpaces(std::u16string& text);
bool SqueezeBlankLines(std::u16string& text);

// Into out, whose memory is reused: true when the text changed and out holds
// the result; false when it has no tab (out is then left as it was). Throws
// ResultTooLong when the result would be longer than limit, before out is
// touched.
bool ExpandTabs(std::u16string_view text, int32_t width, std::u16string& out,
                MaxLength limit = MaxLength(kMaxTextLength));

// The same, leaving string literals and quoted identifiers as they are (see
// literals.h): each stretch of the text between them is transformed as a text
// of its own, and they are kept character for character. The text may be a
// part of a larger one, given by context, which decides where they are; an
// empty context means the text is its own. Return values and errors as above,
// and std::out_of_range when the text does not fit in its context.
bool TrimTrailingSpaces(std::u16string& text, const TextContext& context);
bool SqueezeBlankLines(std::u16string& text, const TextContext& context);
bool ExpandTabs(std::u16string_view text, int32_t width, std::u16string& out, const TextContext& context,
                MaxLength limit = MaxLength(kMaxTextLength));

}  // namespace quill::commands
