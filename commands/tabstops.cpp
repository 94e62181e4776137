#include "commands/tabstops.h"

#include <bit>
#include <cstring>
#include <new>

#include "commands/literals.h"
#include "commands/search.h"
#include "commands/simd.h"
#include "commands/transforms.h"

namespace quill::commands {
namespace {

// The column of position i is (i - origin) modulo the width, where origin
// moves on as the text goes: after a tab (whose stop is a multiple of the
// width) and after the LF of a CR LF it is the next position; the low half of
// a surrogate pair takes no column of its own, so it moves origin one on.
constexpr bool IsHigh(char16_t c) noexcept { return (c & 0xFC00) == 0xD800; }
constexpr bool IsLow(char16_t c) noexcept { return (c & 0xFC00) == 0xDC00; }

// The first tab in [r, end), or end; with kCopy, what lies before it is copied
// to w. Sixteen characters are stored at a time, so w needs that much room
// beyond what is copied.
template <bool kCopy>
const char16_t* UntilTab(const char16_t* r, const char16_t* end, char16_t* w) noexcept {
#if QUILL_SSE2
    if constexpr (kCopy) {
        const char16_t* const from = r;
        const __m128i tab = _mm_set1_epi16(u'\t');
        while (end - r >= 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + 8));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(w + (r - from)), a);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(w + (r - from) + 8), b);
            const auto hits = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(a, tab), _mm_cmpeq_epi16(b, tab))));
            if (hits) return r + std::countr_zero(hits);
            r += 16;
        }
        for (; r < end && *r != u'\t'; ++r) w[r - from] = *r;
        return r;
    }
#endif
    const char16_t* const tab = search::FindAny<u'\t'>(r, end);
    if constexpr (kCopy) std::memcpy(w, r, static_cast<size_t>(tab - r) * sizeof(char16_t));
    return tab;
}

// Moves origin on to the tab at i: all before known is counted in it, and no
// tab stands in [known, i). Looks back from i no further than to the start of
// its line, or to known.
void MoveOrigin(const char16_t* first, size_t known, size_t i, size_t& origin) noexcept {
    size_t pairs = 0;
    for (size_t k = i; k > known; --k) {
        const char16_t c = first[k - 1];
        if (c == u'\n' && k >= 2 && first[k - 2] == u'\r') {
            origin = k;  // its line starts after known
            break;
        }
        pairs += IsLow(c) && k >= 2 && IsHigh(first[k - 2]);
    }
    origin += pairs;
}

size_t CountTabs(const char16_t* p, const char16_t* end) noexcept {
    size_t n = 0;
    constexpr ptrdiff_t kBlock = 256;  // per-block 16-bit sums cannot overflow
    while (end - p >= kBlock) {
        uint16_t block = 0;
        for (ptrdiff_t i = 0; i < kBlock; ++i) block = static_cast<uint16_t>(block + (p[i] == u'\t'));
        n += block;
        p += kBlock;
    }
    for (; p < end; ++p) n += *p == u'\t';
    return n;
}

// No literals: every tab is replaced.
struct AllTabs {
    bool Protected(size_t) const noexcept { return false; }
};

// The literals of the text, from the scanner a window at a time as the
// positions asked about move on (they never move back).
class Literals {
public:
    explicit Literals(std::u16string_view text) : scanner_(text, TextContext{}) {}

    bool Protected(size_t at) {
        while (at >= scanner_.Decided())
            if (!scanner_.More()) return false;
        return scanner_.Protected(at);
    }

private:
    LiteralScanner scanner_;
};

// Where the column count of position at starts (see above): at the start of
// its line, moved on by the tabs and surrogate pairs between. A tab there
// counts as one taken to its stop, whether it is replaced or not.
size_t OriginAt(std::u16string_view text, size_t at) noexcept {
    const char16_t* const first = text.data();
    size_t line = at;
    while (line >= 2 && !(first[line - 1] == u'\n' && first[line - 2] == u'\r')) --line;
    if (line < 2) line = 0;
    size_t origin = line, known = line;
    for (const char16_t* p = first + line;; ++p) {
        p = UntilTab<false>(p, first + at, nullptr);
        const auto i = static_cast<size_t>(p - first);
        MoveOrigin(first, known, i, origin);
        if (i == at) return origin;
        origin = known = i + 1;
    }
}

// What text becomes from position from on, the column count there starting at
// origin: written to w (kWrite; with room for sixteen more characters) or only
// counted. Returns its length.
template <bool kWrite, class Spans>
uint64_t Stops(std::u16string_view text, size_t from, size_t origin, size_t width, Spans& spans, char16_t* w) {
    const char16_t* const first = text.data();
    const char16_t* const end = first + text.size();
    uint64_t n = 0;
    size_t known = from;
    for (const char16_t* r = first + from;; ++r) {
        const char16_t* const tab = UntilTab<kWrite>(r, end, kWrite ? w + n : nullptr);
        n += static_cast<uint64_t>(tab - r);
        if (tab == end) return n;
        r = tab;
        const auto i = static_cast<size_t>(r - first);
        MoveOrigin(first, known, i, origin);
        if (spans.Protected(i)) {
            if constexpr (kWrite) w[n] = u'\t';
            ++n;
        } else {
            const size_t column = i - origin;
            const size_t k = width - (column < width ? column : column % width);
            if constexpr (kWrite)
                for (size_t j = 0; j < k; ++j) w[n + j] = u' ';
            n += k;
        }
        origin = known = i + 1;
    }
}

template <class Spans, class MakeSpans>
bool Expand(std::u16string_view text, size_t width, MaxLength limit, std::u16string& out, Spans& spans,
            MakeSpans makeSpans) {
    const char16_t* const first = text.data();
    const char16_t* const end = first + text.size();
    // Up to the first tab that is replaced nothing is written.
    const char16_t* tab = first;
    for (;; ++tab) {
        tab = search::FindAny<u'\t'>(tab, end);
        if (tab == end) return false;
        if (!spans.Protected(static_cast<size_t>(tab - first))) break;
    }
    const auto at = static_cast<size_t>(tab - first);
    const size_t origin = OriginAt(text, at);
    // No tab grows by more than width - 1: that bound is the size of out when
    // it is not much more than the text; else the size is found first, in a
    // pass of its own.
    uint64_t size = text.size() + uint64_t{CountTabs(tab, end)} * (width - 1);
    if (size > 2 * uint64_t{text.size()} + 0x10000 || size > limit.n) {
        auto counting = makeSpans();
        size = at + Stops<false>(text, at, origin, width, counting, nullptr);
        if (size > limit.n) throw ResultTooLong(size);
    }
    out.resize(static_cast<size_t>(size) + 16);
    std::memcpy(out.data(), first, at * sizeof(char16_t));
    out.resize(at + static_cast<size_t>(Stops<true>(text, at, origin, width, spans, out.data() + at)));
    return true;
}

}  // namespace

bool ExpandTabsToStops(std::u16string_view text, int32_t width, std::u16string& out, bool keepLiterals,
                       MaxLength limit) {
    if (width <= 0)
        return keepLiterals ? ExpandTabs(text, width, out, TextContext{}, limit) : ExpandTabs(text, width, out, limit);
    const auto w = static_cast<size_t>(width);
    if (keepLiterals) {
        Literals spans(text);
        return Expand(text, w, limit, out, spans, [text] { return Literals(text); });
    }
    AllTabs spans;
    return Expand(text, w, limit, out, spans, [] { return AllTabs{}; });
}

}  // namespace quill::commands
