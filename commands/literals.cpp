#include "commands/literals.h"

#include <algorithm>
#include <bit>
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

// In code, what may start something: a quote, a double quote, a - or a /, or
// an r, R, p or P that is the first character of a line after spaces and tabs
// (a SQL*Plus remark or prompt, maybe). Line breaks themselves are no stop:
// where lines start is worked out block by block, without a branch.
#if QUILL_SSE2
class CodeSearch {
public:
    // lineStart: the search starts at the start of a line.
    explicit CodeSearch(bool lineStart) noexcept : carry_(lineStart ? 1u : 0u) {}

    // The events among the sixteen characters from p on, one bit each.
    unsigned Block(const char16_t* p) noexcept {
        using search::ByteIs;
        const __m128i b = search::Bytes(p);
        auto mask = [](__m128i m) { return static_cast<unsigned>(_mm_movemask_epi8(m)); };
        const __m128i quotes = _mm_or_si128(ByteIs<u'\''>(b), ByteIs<u'"'>(b));
        const unsigned stops = mask(_mm_or_si128(quotes, _mm_or_si128(ByteIs<u'-'>(b), ByteIs<u'/'>(b))));
        const unsigned breaks = mask(_mm_or_si128(ByteIs<u'\r'>(b), ByteIs<u'\n'>(b)));
        const unsigned blanks = mask(_mm_or_si128(ByteIs<u' '>(b), ByteIs<u'\t'>(b)));
        const __m128i lower = _mm_or_si128(b, _mm_set1_epi8(0x20));  // 00 and FF stay no letter
        const unsigned letters = mask(_mm_or_si128(ByteIs<u'r'>(lower), ByteIs<u'p'>(lower)));
        // Where lines start (bit 16: the next block's first character), and
        // the first character that is no blank from each: a blank run that
        // starts a line is carried through by adding its first bit.
        const unsigned starts = (breaks << 1) | carry_;
        const unsigned first = ((blanks + (starts & blanks)) | starts) & ~blanks;
        carry_ = first >> 16;
        return (stops | (first & letters)) & 0xFFFF;
    }

private:
    unsigned carry_;
};

size_t FindCode(const char16_t* t, size_t from, size_t n, bool lineStart) noexcept {
    CodeSearch search(lineStart);
    size_t i = from;
    for (; n - i >= 16; i += 16)
        if (const unsigned events = search.Block(t + i)) return i + static_cast<size_t>(std::countr_zero(events));
    // The rest, padded with NUL, which is none of the characters that count.
    char16_t last[16] = {};
    std::copy(t + i, t + n, last);
    const unsigned events = search.Block(last);
    return events ? i + static_cast<size_t>(std::countr_zero(events)) : n;
}
#else
size_t FindCode(const char16_t* t, size_t from, size_t n, bool lineStart) noexcept {
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
    pos_ = part.empty() ? size_ : 0;
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

// Where the literal whose first quote stands at quote begins: at the quote, or
// at the q (or the n before it) of a q-quoted literal.
size_t LiteralScanner::QuoteBegin(size_t quote) const noexcept {
    if (quote + 1 >= size_) return quote;
    const char16_t delimiter = text_[quote + 1];
    if (IsBlank(delimiter) || IsLineBreak(delimiter)) return quote;
    // The look-back never reaches before floor_: what stood right before it
    // closed a span (a quote), which is no q and no n.
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

bool LiteralScanner::Next(Span& span) {
    const char16_t* const t = text_;
    const size_t n = size_;
    while (pos_ < to_) {
        // Only the start of the text is a line start that the scan comes in
        // at: everywhere else it goes on after a character that is no blank.
        const size_t i = FindCode(t, pos_, n, pos_ == 0);
        if (i == n) break;
        const char16_t c = t[i];
        size_t begin = i, end;
        if (c == u'\'') {
            // Mostly no q before it: then no q-quoted literal either.
            if ((Before(i) | 0x20) == u'q' && (begin = QuoteBegin(i)) != i)
                end = QEnd(i);
            else
                end = LiteralEnd(i + 1);
        } else if (c == u'"') {
            const size_t j = FindAny<u'"'>(t, i + 1, n);
            end = j == n ? n : j + 1;
        } else {
            if (c == u'-') {
                pos_ = i + 1 < n && t[i + 1] == u'-' ? FindAny<u'\r', u'\n'>(t, i + 2, n) : i + 1;
            } else if (c == u'/' && i + 1 < n && t[i + 1] == u'*') {
                const size_t j = Find2(t, i + 2, n, u'*', u'/');
                pos_ = j == n ? n : j + 2;
            } else if (c == u'/') {
                pos_ = i + 1;
            } else {
                // The first word of a line, starting with r or p.
                const size_t word = SqlPlusWord(i);
                pos_ = word ? FindAny<u'\r', u'\n'>(t, i + word, n) : i + 1;
            }
            continue;
        }
        pos_ = end;
        if (end < n) {
            floor_ = end;
            beforeFloor_ = t[end - 1];
        }
        if (begin >= to_) break;
        if (end <= from_) continue;
        span.begin = std::max(begin, from_) - from_;
        span.end = std::min(end, to_) - from_;
        return true;
    }
    pos_ = n;
    return false;
}

}  // namespace quill::commands
