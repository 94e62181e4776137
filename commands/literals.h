#pragma once
// PL/SQL string literals and quoted identifiers, which the whitespace commands
// can leave as they are. A scan from the start of the text, in code:
//   --                 a line comment, up to (not including) the next CR or LF
//   REM[ARK], PRO[MPT] (any case, the first word of a line after spaces and
//                      tabs, followed by a space, tab, CR, LF or the end) the
//                      same; a line starts at the start and after a CR or LF
//   /*                 a block comment, through the next */ after the /*
//   "                  a quoted identifier, through the next "
//   '                  a literal, through the next ' that is not doubled
//   q'                 (q or Q starting a word, or after an n or N starting
//                      one) a q-quoted literal: the character after the ' is
//                      the delimiter (a surrogate pair is one), closed by ]
//                      } ) > for [ { ( < and else by itself, with a ' right
//                      after; with no delimiter, or a space, tab, CR or LF
//                      there, the q is ordinary and the ' starts a literal
// Word characters are ASCII letters and digits, _ $ # and all from U+0080 on.
// Literals and quoted identifiers are protected, from their first character
// (the q, or the n before it) through their last; comments are not, and
// nothing starts inside them. What is not closed runs to the end.
#include <cstddef>
#include <string_view>

namespace quill::commands {

// What the text a command works on is a part of: the whole text, and where the
// part begins in it (whole.substr(offset, part.size()) is the part). The scan
// starts at the start of the whole text. An empty whole means the part is the
// whole text.
struct TextContext {
    std::u16string_view whole;
    size_t offset = 0;
};

// [begin, end) of a text, in its positions.
struct Span {
    size_t begin = 0;
    size_t end = 0;
};

// Hands out the protected spans of a part one by one, left to right, clipped
// to the part and in its positions, scanning as it goes.
//
// When the part is its own whole, its text may be changed in place as the
// spans come: everything before the end of the last span handed out may be
// overwritten, as the scanner never reads there again.
class LiteralScanner {
public:
    // Throws std::out_of_range when the part does not fit in the whole text at
    // the offset. Only the whole text is read.
    LiteralScanner(std::u16string_view part, const TextContext& context);

    // The next span, or false when there is none left in the part.
    bool Next(Span& span);

private:
    char16_t Before(size_t i) const noexcept { return i > floor_ ? text_[i - 1] : beforeFloor_; }
    size_t SqlPlusWord(size_t i) const noexcept;
    size_t QuoteBegin(size_t quote) const noexcept;
    size_t QEnd(size_t quote) const noexcept;
    size_t LiteralEnd(size_t from) const noexcept;

    const char16_t* text_;  // the whole text
    size_t size_;
    size_t from_;  // the part: [from_, to_) of the whole text
    size_t to_;
    size_t pos_ = 0;  // the scan goes on here, in code
    // Nothing before floor_ is read: it may have been overwritten. The
    // character that stood right before it is kept (a space at the start).
    size_t floor_ = 0;
    char16_t beforeFloor_ = u' ';
};

}  // namespace quill::commands
