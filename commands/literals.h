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
#include <algorithm>
#include <cstddef>
#include <cstdint>
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

// Sixty-four characters of a text, one bit each for what the scanner looks
// at. A character from U+0100 on is none of them.
struct CharClasses {
    uint64_t quote = 0;
    uint64_t q = 0;  // q, Q
    uint64_t dquote = 0;
    uint64_t opener = 0;  // - or /, which open a comment when followed by
    uint64_t second = 0;  // - or * (the rare -* and /- cost a look, no more)
    uint64_t breaks = 0;  // CR, LF
    uint64_t blanks = 0;  // space, tab
    uint64_t letters = 0;  // r, R, p, P
    uint64_t parity = 0;  // set where an odd number of quotes stand up to here
};

// Decides which positions of a part are protected, a window of a few thousand
// at a time, scanning as it goes; or hands out the protected spans one by one,
// left to right, clipped to the part and in its positions (spans that meet
// come as one).
//
// When the part is its own whole, its text may be changed in place before
// Decided(), and before the end of the last span handed out: the scanner never
// reads there again.
class LiteralScanner {
public:
    // Throws std::out_of_range when the part does not fit in the whole text at
    // the offset. Only the whole text is read.
    LiteralScanner(std::u16string_view part, const TextContext& context);

    // The positions of the part before Decided() are decided.
    size_t Decided() const noexcept { return Clip(decided_); }
    // Decides more: false when all is decided already.
    bool More();
    // Whether position at of the part is protected. It lies before Decided(),
    // and not before Decided() as it was before the last call to More().
    bool Protected(size_t at) const noexcept {
        const size_t i = at + from_;
        return (window_[i / 64 - first_] >> (i % 64)) & 1;
    }

    // The next span, or false when there is none left in the part.
    bool Next(Span& span);

private:
    size_t Clip(size_t i) const noexcept { return std::min(std::max(i, from_), to_) - from_; }
    char16_t Before(size_t i) const noexcept;
    size_t SqlPlusWord(size_t i) const noexcept;
    size_t QuoteBegin(size_t quote) const noexcept;
    size_t QEnd(size_t quote) const noexcept;
    size_t LiteralEnd(size_t from) const noexcept;
    // What starts at i, in code: returns where the scan goes on, in code
    // again; what lies between is a span from begin on when kept.
    struct Taken {
        size_t begin, end;
        bool kept;
    };
    Taken Event(size_t i) const noexcept;
    // Marks [begin, end) as decided, protected when kept, as far as the window
    // reaches; the rest of it is marked by the next windows.
    void Mark(size_t begin, size_t end, bool kept) noexcept;
    // Scans on up to end at least (a block's end, or the end of the text).
    void ScanWindow(size_t end) noexcept;
    // Where the scan may still read from: it looks back three characters at
    // most (for the n and the q of a q-quoted literal).
    size_t LookBack() const noexcept { return pos_ - std::min<size_t>(pos_, 3); }
    // The first position from at on, before decided_, whose bit is value; or
    // decided_.
    size_t FindBit(size_t at, bool value) const noexcept;

    const char16_t* text_;  // the whole text
    size_t size_;
    size_t from_;  // the part: [from_, to_) of the whole text
    size_t to_;
    // The window: blocks of sixty-four positions (the first at the start of
    // the text), one bit each, from block first_ on.
    static constexpr size_t kWindow = 32;
    uint64_t window_[kWindow] = {};
    size_t first_ = 0;
    size_t decided_ = 0;  // all before it is decided
    size_t cursor_ = 0;  // where Next goes on

    // What the scan works with.
    size_t pos_ = 0;  // the scan goes on here; all before it is marked
    bool pendingKept_ = false;  // how what the scan took beyond the window is marked
    // What the scan carries from one block to the next: the parity of the
    // quotes before (inside a literal), at a line's leading blanks, after a q.
    bool inside_ = false;
    bool lineStart_ = true;
    bool afterQ_ = false;
};

}  // namespace quill::commands
