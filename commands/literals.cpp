#include "commands/literals.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <stdexcept>

#include "commands/search.h"
#include "commands/simd.h"

namespace quill::commands {
namespace {

bool IsBlank(char16_t c) noexcept { return c == u' ' || c == u'\t'; }
bool IsLineBreak(char16_t c) noexcept { return c == u'\r' || c == u'\n'; }

bool IsWordChar(char16_t c) noexcept {
    if (c >= 0x80) return true;
    const int lower = c | 0x20;  // only ASCII letters land on a to z
    return (lower >= u'a' && lower <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'$' || c == u'#';
}

bool IsHighSurrogate(char16_t c) noexcept { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) noexcept { return c >= 0xDC00 && c <= 0xDFFF; }

// What closes a q-quoted literal opened with the delimiter d.
char16_t Closing(char16_t d) noexcept {
    switch (d) {
        case u'[': return u']';
        case u'{': return u'}';
        case u'(': return u')';
        case u'<': return u'>';
        default: return d;
    }
}

// The searches in positions of t: where the match stands, or n when none.
template <char16_t... C>
size_t FindAny(const char16_t* t, size_t from, size_t n) noexcept {
    return static_cast<size_t>(search::FindAny<C...>(t + from, t + n) - t);
}
size_t Find2(const char16_t* t, size_t from, size_t n, char16_t a, char16_t b) noexcept {
    return static_cast<size_t>(search::Find2(t + from, t + n, a, b) - t);
}

#if QUILL_SSE2
// The classes of the sixty-four characters from p on, sixteen at a time with
// SSE2, which every x64 processor has.
CharClasses ClassifyBlock(const char16_t* p) noexcept {
    using search::ByteIs;
    CharClasses c;
    for (int k = 0; k < 4; ++k) {
        const __m128i b = search::Bytes(p + 16 * k);
        const __m128i lower = _mm_or_si128(b, _mm_set1_epi8(0x20));  // 00 and FF stay no letter
        auto bits = [k](__m128i m) { return uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(m))} << (16 * k); };
        const __m128i dash = ByteIs<u'-'>(b);
        c.quote |= bits(ByteIs<u'\''>(b));
        c.q |= bits(ByteIs<u'q'>(lower));
        c.dquote |= bits(ByteIs<u'"'>(b));
        c.opener |= bits(_mm_or_si128(dash, ByteIs<u'/'>(b)));
        c.second |= bits(_mm_or_si128(dash, ByteIs<u'*'>(b)));
        c.breaks |= bits(_mm_or_si128(ByteIs<u'\r'>(b), ByteIs<u'\n'>(b)));
        c.blanks |= bits(_mm_or_si128(ByteIs<u' '>(b), ByteIs<u'\t'>(b)));
        c.letters |= bits(_mm_or_si128(ByteIs<u'r'>(lower), ByteIs<u'p'>(lower)));
    }
    c.parity = c.quote;
    for (int shift = 1; shift < 64; shift *= 2) c.parity ^= c.parity << shift;
    return c;
}

// The same for the block from p on, cut off at end and padded with NUL, which
// is none of the characters that count.
CharClasses Classify(const char16_t* p, const char16_t* end) noexcept {
    if (end - p >= 64) return ClassifyBlock(p);
    char16_t last[64] = {};
    std::copy(p, end, last);
    return ClassifyBlock(last);
}

// The bits from k on (none for k from 64 on).
inline uint64_t Above(size_t k) noexcept { return k < 64 ? ~uint64_t{0} << k : 0; }

#else
// In code, what may start something: a quote, a double quote, a - or a /, or
// an r, R, p or P that is the first character of a line after spaces and tabs
// (a SQL*Plus remark or prompt, maybe).
size_t FindCode(const char16_t* t, size_t from, size_t n, bool& lineStart) noexcept {
    for (size_t i = from; i < n; ++i) {
        const char16_t c = t[i];
        if (c == u'\'' || c == u'"' || c == u'-' || c == u'/') return i;
        if (IsLineBreak(c)) {
            lineStart = true;
        } else if (!IsBlank(c)) {
            if (lineStart && ((c | 0x20) == u'r' || (c | 0x20) == u'p')) return i;
            lineStart = false;
        }
    }
    return n;
}
#endif

}  // namespace

LiteralScanner::LiteralScanner(std::u16string_view part, const TextContext& context) {
    const bool own = context.whole.empty();
    const std::u16string_view whole = own ? part : context.whole;
    const size_t offset = own ? 0 : context.offset;
    if (offset > whole.size() || part.size() > whole.size() - offset)
        throw std::out_of_range("the part does not lie in its whole text");
    text_ = whole.data();
    size_ = whole.size();
    from_ = offset;
    to_ = offset + part.size();
    if (part.empty()) pos_ = decided_ = size_;
}

// The length of the word at i when it is REM, REMA, REMAR, REMARK, PRO, PROM,
// PROMP or PROMPT in any case with a space, tab, CR, LF or the end after it;
// else 0.
size_t LiteralScanner::SqlPlusWord(size_t i) const noexcept {
    const int first = text_[i] | 0x20;
    const char16_t* word = first == u'r' ? u"remark" : first == u'p' ? u"prompt" : nullptr;
    if (!word) return 0;
    size_t m = 1;
    while (m < 6 && i + m < size_ && (text_[i + m] | 0x20) == word[m]) ++m;
    if (m < 3) return 0;
    if (i + m < size_ && !IsBlank(text_[i + m]) && !IsLineBreak(text_[i + m])) return 0;
    return m;
}

// The character before position i; a space before the start.
inline char16_t LiteralScanner::Before(size_t i) const noexcept { return i > 0 ? text_[i - 1] : u' '; }

// Where the literal whose first quote stands at quote begins: at the quote, or
// at the q (or the n before it) of a q-quoted literal.
size_t LiteralScanner::QuoteBegin(size_t quote) const noexcept {
    if (quote + 1 >= size_) return quote;
    const char16_t delimiter = text_[quote + 1];
    if (IsBlank(delimiter) || IsLineBreak(delimiter)) return quote;
    const char16_t q = Before(quote);
    if (q != u'q' && q != u'Q') return quote;
    const char16_t before = Before(quote - 1);
    if (!IsWordChar(before)) return quote - 1;
    if ((before == u'n' || before == u'N') && !IsWordChar(Before(quote - 2))) return quote - 2;
    return quote;
}

// The end of the q-quoted literal whose quote stands at quote.
size_t LiteralScanner::QEnd(size_t quote) const noexcept {
    const size_t n = size_;
    const char16_t d = text_[quote + 1];
    const size_t body = quote + 2;
    if (IsHighSurrogate(d) && body < n && IsLowSurrogate(text_[body])) {
        // A delimiter of two code units, closed by itself: found by its second
        // half and the quote, then its first half checked.
        const char16_t low = text_[body];
        for (size_t from = body + 2;;) {
            const size_t j = Find2(text_, from, n, low, u'\'');
            if (j == n) return n;
            if (text_[j - 1] == d) return j + 2;
            from = j + 1;
        }
    }
    const size_t j = Find2(text_, body, n, Closing(d), u'\'');
    return j == n ? n : j + 2;
}

// The end of the literal whose body starts at from.
inline size_t LiteralScanner::LiteralEnd(size_t from) const noexcept {
    const size_t n = size_;
    for (;;) {
        const size_t j = FindAny<u'\''>(text_, from, n);
        if (j == n) return n;
        if (j + 1 < n && text_[j + 1] == u'\'') {
            from = j + 2;  // a doubled quote is one quote character
            continue;
        }
        return j + 1;
    }
}

LiteralScanner::Taken LiteralScanner::Event(size_t i) const noexcept {
    const char16_t* const t = text_;
    const size_t n = size_;
    const char16_t c = t[i];
    if (c == u'\'') {
        // Mostly no q before it: then no q-quoted literal either.
        size_t begin = i;
        const size_t end = (Before(i) | 0x20) == u'q' && (begin = QuoteBegin(i)) != i ? QEnd(i) : LiteralEnd(i + 1);
        return {begin, end, true};
    }
    if (c == u'"') {
        const size_t j = FindAny<u'"'>(t, i + 1, n);
        return {i, j == n ? n : j + 1, true};
    }
    if (c == u'-') return {i, i + 1 < n && t[i + 1] == u'-' ? FindAny<u'\r', u'\n'>(t, i + 2, n) : i + 1, false};
    if (c == u'/') {
        if (i + 1 < n && t[i + 1] == u'*') {
            const size_t j = Find2(t, i + 2, n, u'*', u'/');
            return {i, j == n ? n : j + 2, false};
        }
        return {i, i + 1, false};
    }
    // The first word of a line, starting with r or p.
    const size_t word = SqlPlusWord(i);
    return {i, word ? FindAny<u'\r', u'\n'>(t, i + word, n) : i + 1, false};
}

void LiteralScanner::Mark(size_t begin, size_t end, bool kept) noexcept {
    const size_t windowEnd = std::min((first_ + kWindow) * 64, size_);
    pendingKept_ = kept;
    if (!kept) return;
    // Only a q-quoted literal begins before where the scan took it up, by
    // two characters at most: still in the window.
    begin = std::max(begin, first_ * 64);
    end = std::min(end, windowEnd);
    for (size_t i = begin; i < end;) {
        const size_t bit = i % 64;
        const size_t count = std::min<size_t>(64 - bit, end - i);
        window_[i / 64 - first_] |= (count == 64 ? ~uint64_t{0} : (uint64_t{1} << count) - 1) << bit;
        i += count;
    }
}

#if QUILL_SSE2
// The window block by block. Where a literal starts and ends follows from the
// parity of the quotes before each position, as long as nothing else happens
// in code: a double quote, --, /*, the first letter of a line that may be REM
// or PROMPT, or a q right before a quote that opens a literal. The first of
// those is handed to Event, and the block goes on after what it took.
void LiteralScanner::ScanWindow(size_t windowEnd) noexcept {
    const char16_t* const t = text_;
    const size_t n = size_;
    // In locals: the compiler cannot keep members in registers across the
    // stores to the bits, which have the same type.
    size_t pos = pos_;
    bool inside = inside_, lineStart = lineStart_, afterQ = afterQ_;
    while (pos < windowEnd) {
        const size_t block = pos / 64;
        const CharClasses c = Classify(t + block * 64, t + n);
        const size_t base = block * 64;
        const size_t end = std::min(base + 64, n);
        const uint64_t valid = end - base == 64 ? ~uint64_t{0} : (uint64_t{1} << (end - base)) - 1;
        // Where the scan comes in after something it took whole, what lies
        // before may have been overwritten.
        uint64_t live = valid & (~uint64_t{0} << (pos - base));
        // The character after the block, for pairs that straddle its end.
        const char16_t next = end < n ? t[end] : u'\0';
        const uint64_t comments = c.opener & ((c.second >> 1) | (uint64_t{next == u'-' || next == u'*'} << 63));
        // Where lines start, and the first character that is no blank from
        // each: a blank run that starts a line is carried through by adding
        // its first bit.
        const uint64_t blanks = c.blanks & live;
        const uint64_t breaks = c.breaks & live;
        const uint64_t starts = (breaks << 1) | uint64_t{lineStart};
        uint64_t run;
        const bool carried = __builtin_add_overflow(blanks, starts & blanks, &run);
        const uint64_t first = (run | starts) & ~blanks;
        const uint64_t others = c.dquote | comments | (first & c.letters);
        const uint64_t afterQs = (c.q << 1) | uint64_t{afterQ};
        uint64_t& bits = window_[block - first_];
        for (;;) {
            const uint64_t quotes = c.quote & live;
            // Inside a literal: the parity of the quotes from where the scan
            // came in, which is outside when it came in after something it took.
            const size_t start = pos - base;
            const uint64_t flip = start == 0 ? 0 - uint64_t{inside} : 0 - ((c.parity >> (start - 1)) & 1);
            const uint64_t in = c.parity ^ flip;
            // A quote right after a q that opens a literal may open a
            // q-quoted one: Event decides.
            const uint64_t events = ((others & ~in) | (quotes & in & afterQs)) & live;
            if (!events) {
                bits |= (in | quotes) & live;
                pos = end;
                inside = in >> 63;
                lineStart = (breaks >> 63) | carried;
                afterQ = c.q >> 63;
                break;
            }
            const size_t at = static_cast<size_t>(std::countr_zero(events));
            bits |= (in | quotes) & live & ((uint64_t{1} << at) - 1);
            // On in code, after a character that is no blank and no q.
            inside = lineStart = afterQ = false;
            // A quoted identifier, or a comment to the end of its line, that
            // ends in this block is taken here; all else by Event.
            const char16_t ch = t[base + at];
            uint64_t until = 0;
            if (ch == u'"') {
                until = c.dquote & Above(at + 1);
            } else if (ch == u'-' && t[base + at + 1] == u'-') {
                until = c.breaks & Above(at + 2);
            } else if (ch != u'\'' && ch != u'/') {
                // A - without another, or the first letter of a line.
                const size_t word = ch == u'-' ? 0 : SqlPlusWord(base + at);
                until = word ? c.breaks & Above(at + word) : uint64_t{1} << at;
            }
            if (until) {
                const size_t stop = static_cast<size_t>(std::countr_zero(until));
                if (ch == u'"') bits |= Above(at) & ~Above(stop + 1);
                pos = base + stop + (ch == u'"' || stop == at);
            } else {
                const Taken taken = Event(base + at);
                Mark(taken.begin, taken.end, taken.kept);
                pos = taken.end;
            }
            if (pos >= end) break;
            live = valid & Above(pos - base);
        }
    }
    pos_ = pos;
    inside_ = inside;
    lineStart_ = lineStart;
    afterQ_ = afterQ;
}

#else

// The window event by event.
void LiteralScanner::ScanWindow(size_t windowEnd) noexcept {
    while (pos_ < windowEnd) {
        const size_t i = FindCode(text_, pos_, windowEnd, lineStart_);
        if (i == windowEnd) {
            pos_ = i;
            break;
        }
        const Taken taken = Event(i);
        Mark(taken.begin, taken.end, taken.kept);
        pos_ = taken.end;
        lineStart_ = false;  // after a character that is no blank
    }
}
#endif

bool LiteralScanner::More() {
    if (decided_ >= to_) return false;
    // The window moves on to the block where the undecided part begins, which
    // keeps its bits.
    const size_t block = decided_ / 64;  // never before first_, at most just past the window
    const uint64_t kept = block - first_ < kWindow ? window_[block - first_] : 0;
    std::fill(std::begin(window_), std::end(window_), uint64_t{0});
    window_[0] = kept;
    const size_t oldEnd = (first_ + kWindow) * 64;
    first_ = block;
    const size_t windowEnd = std::min((first_ + kWindow) * 64, size_);
    // What the scan took beyond the last window.
    if (pos_ > oldEnd) Mark(oldEnd, pos_, pendingKept_);
    if (pos_ < windowEnd) ScanWindow(windowEnd);
    // What the scan may still read stays undecided, for the text may be
    // changed before what is decided.
    decided_ = pos_ >= size_ ? windowEnd : std::min(windowEnd, LookBack());
    return true;
}

size_t LiteralScanner::FindBit(size_t at, bool value) const noexcept {
    const uint64_t flip = value ? 0 : ~uint64_t{0};
    while (at < decided_) {
        const uint64_t word = ((window_[at / 64 - first_] ^ flip) >> (at % 64));
        if (word) return std::min(at + static_cast<size_t>(std::countr_zero(word)), decided_);
        at = (at / 64 + 1) * 64;
    }
    return decided_;
}

bool LiteralScanner::Next(Span& span) {
    for (;;) {
        size_t begin = FindBit(cursor_, true);
        if (begin == decided_) {
            cursor_ = decided_;
            if (cursor_ >= to_ || !More()) return false;
            continue;
        }
        size_t end = FindBit(begin, false);
        while (end == decided_ && More()) end = FindBit(end, false);
        cursor_ = end;
        if (begin >= to_) return false;
        if (end <= from_) continue;
        span.begin = std::max(begin, from_) - from_;
        span.end = std::min(end, to_) - from_;
        return true;
    }
}

}  // namespace quill::commands
