#include "commands/transforms.h"

#include <bit>
#include <cstring>
#include <new>

#include "commands/search.h"
#include "commands/simd.h"

namespace quill::commands {
namespace {

using search::Find2;
#if QUILL_SSE2
using search::PairHits;
#endif

size_t Count(const char16_t* p, const char16_t* end, char16_t c) noexcept {
    size_t n = 0;
    constexpr ptrdiff_t kBlock = 256;  // per-block 16-bit sums cannot overflow
    while (end - p >= kBlock) {
        uint16_t block = 0;
        for (ptrdiff_t i = 0; i < kBlock; ++i) block = static_cast<uint16_t>(block + (p[i] == c));
        n += block;
        p += kBlock;
    }
    for (; p < end; ++p) n += *p == c;
    return n;
}

// Copies [r, the first c) to w, in another buffer, and returns where that c
// stands (or end); w moves past what was copied. Sixteen characters are stored
// at a time, so the output needs that much room beyond its end.
const char16_t* CopyUntil(const char16_t* r, const char16_t* end, char16_t*& w, char16_t c) noexcept {
#if QUILL_SSE2
    const __m128i needle = _mm_set1_epi16(static_cast<short>(c));
    while (end - r >= 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(w), a);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(w + 8), b);
        const auto hits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(a, needle), _mm_cmpeq_epi16(b, needle))));
        if (hits) {
            const int n = std::countr_zero(hits);
            w += n;
            return r + n;
        }
        w += 16;
        r += 16;
    }
#endif
    while (r < end && *r != c) *w++ = *r++;
    return r;
}

// Where the spaces right before w begin, from first on: trailing spaces that
// were copied already, taken back.
inline char16_t* BeforeSpaces(char16_t* w, const char16_t* first) noexcept {
    while (w > first && w[-1] == u' ') --w;
    return w;
}

// In place, within one text: copies [r, the first place where a stands with b
// right after it) down to w, which lies before r, and returns that place (or
// end); w moves past what was copied. A block is stored whole only where it
// overwrites nothing still to be read: when it is taken whole, or when w lies
// at least a block behind r.
const char16_t* CopyDownUntil2(const char16_t* r, const char16_t* end, char16_t*& w, char16_t a,
                               char16_t b) noexcept {
#if QUILL_SSE2
    const __m128i first = _mm_set1_epi16(static_cast<short>(a));
    const __m128i second = _mm_set1_epi16(static_cast<short>(b));
    while (end - r >= 17) {
        const unsigned hits = PairHits(r, first, second);
        if (!hits || r - w >= 16) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(w), _mm_loadu_si128(reinterpret_cast<const __m128i*>(r)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(w + 8),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + 8)));
        } else {
            for (int i = 0; i < std::countr_zero(hits); ++i) w[i] = r[i];
        }
        if (hits) {
            const int n = std::countr_zero(hits);
            w += n;
            return r + n;
        }
        w += 16;
        r += 16;
    }
#endif
    for (; end - r >= 2; ++r) {
        if (r[0] == a && r[1] == b) return r;
        *w++ = *r;
    }
    if (r < end) *w++ = *r++;
    return end;
}

}  // namespace

bool TrimTrailingSpaces(std::u16string& text) {
    char16_t* const first = text.data();
    const char16_t* const end = first + text.size();
    // Until the first space in front of a line break nothing moves. Only a
    // space right in front of a CR can start what goes.
    const char16_t* sp = Find2(first, end, u' ', u'\r');
    while (sp != end && (end - sp < 3 || sp[2] != u'\n')) sp = Find2(sp + 1, end, u' ', u'\r');
    if (sp == end) return false;
    // From there on the text is copied down over what goes. Every space in
    // front of a line break goes, one per pass of the repeated replacement,
    // until a character that is no space stands there: the spaces are taken
    // back from what has been kept, which ends where they do.
    char16_t* w = first + (sp - first);
    const char16_t* r = sp;
    for (;;) {
        r = CopyDownUntil2(r, end, w, u' ', u'\r');
        if (r == end) break;
        if (end - r >= 3 && r[2] == u'\n') {
            w = BeforeSpaces(w, first);
            // The space at r goes too; the line break is copied with what follows.
        } else {
            *w++ = *r;  // a space before a lone CR stays
        }
        ++r;
    }
    text.resize(static_cast<size_t>(w - first));
    return true;
}

bool SqueezeBlankLines(std::u16string& text) {
    char16_t* const first = text.data();
    const char16_t* const end = first + text.size();
    // Until the first two CR LF pairs in a row nothing moves; they meet where
    // an LF stands before a CR.
    const char16_t* lf = Find2(first, end, u'\n', u'\r');
    while (lf != end && (lf == first || lf[-1] != u'\r' || end - lf < 3 || lf[2] != u'\n'))
        lf = Find2(lf + 1, end, u'\n', u'\r');
    if (lf == end) return false;
    // From there on the text is copied down: of every run of CR LF pairs,
    // whatever its length, only the first stays.
    char16_t* w = first + (lf - first);
    const char16_t* r = lf;
    for (;;) {
        *w++ = *r++;  // the LF
        // What has been kept ends in a CR LF pair: the pairs right after it go.
        if (w[-2] == u'\r' && end - r >= 2 && r[0] == u'\r' && r[1] == u'\n')
            while (end - r >= 2 && r[0] == u'\r' && r[1] == u'\n') r += 2;
        r = CopyDownUntil2(r, end, w, u'\n', u'\r');
        if (r == end) break;
    }
    text.resize(static_cast<size_t>(w - first));
    return true;
}

bool ExpandTabs(std::u16string_view text, int32_t width, std::u16string& out, MaxLength limit) {
    const char16_t* const first = text.data();
    const char16_t* const end = first + text.size();
    const size_t tabs = Count(first, end, u'\t');
    if (tabs == 0) return false;
    const size_t spaces = width > 0 ? static_cast<size_t>(width) : 0;
    // At most 2^31 * 2^31: no overflow in 64 bits.
    const uint64_t size = uint64_t{text.size() - tabs} + uint64_t{tabs} * spaces;
    if (size > limit.n) throw ResultTooLong(size);
    // Room for the last block that CopyUntil stores whole.
    out.resize(static_cast<size_t>(size) + 16);
    char16_t* w = out.data();
    const char16_t* r = first;
    for (;;) {
        r = CopyUntil(r, end, w, u'\t');
        if (r == end) break;
        for (size_t i = 0; i < spaces; ++i) w[i] = u' ';
        w += spaces;
        ++r;
    }
    out.resize(static_cast<size_t>(size));
    return true;
}


// ---- Keeping literals -------------------------------------------------------
// The same passes, where a match that lies in a protected span is no match.
// That gives each stretch between spans as if it were a text of its own:
// where a span meets a stretch it has a character that is in no pattern (its
// quote, or the q or n it starts with), so no match and no run of spaces or
// line breaks reaches across. (A span cut off by the edge of a part meets no
// stretch there.)
namespace {

// The protected positions a window at a time, from the scanner. Everything
// before Limit() is known; the text may be changed in place before it, and
// only before it.
class SpanWindow {
public:
    SpanWindow(std::u16string_view text, const TextContext& context)
        : scanner_(text, context), first_(text.data()), size_(text.size()) {
        scanner_.More();
    }

    const char16_t* Limit() const noexcept { return first_ + scanner_.Decided(); }
    bool Done() const noexcept { return scanner_.Decided() == size_; }
    // Where the searches for a pair of characters end: a pair whose first
    // lies before Limit() can be told (reading after it is safe).
    const char16_t* PairLimit() const noexcept { return Done() ? Limit() : Limit() + 1; }

    // The next window, once all before Limit() is dealt with.
    void Refill() { scanner_.More(); }

    // Whether p lies in a span. p is never before Limit() as it was before the
    // last Refill(), and lies before Limit().
    bool Protected(const char16_t* p) const noexcept { return scanner_.Protected(static_cast<size_t>(p - first_)); }

private:
    LiteralScanner scanner_;
    const char16_t* first_;
    size_t size_;
};

// The first p, from p on, where a stands with b right after it, outside the
// spans and with real(p); end when none. Reads only.
template <class Real>
const char16_t* FindMatch(SpanWindow& spans, const char16_t* p, char16_t a, char16_t b, Real real) {
    for (;;) {
        const char16_t* const limit = spans.PairLimit();
        p = Find2(p, limit, a, b);
        if (p != limit) {
            if (real(p) && !spans.Protected(p)) return p;
            ++p;
        } else if (spans.Done()) {
            return p;
        } else {
            p = spans.Limit();
            spans.Refill();
        }
    }
}

// CopyDownUntil2 on and on through the windows: false at the end of the text.
bool CopyDownToNext(SpanWindow& spans, const char16_t*& r, char16_t*& w, char16_t a, char16_t b) {
    for (;;) {
        const char16_t* const limit = spans.PairLimit();
        r = CopyDownUntil2(r, limit, w, a, b);
        if (r != limit) return true;
        if (spans.Done()) return false;
        // The character at Limit() was copied (over itself, or before
        // Limit()), not yet looked at as the start of a pair.
        --r;
        --w;
        spans.Refill();
    }
}

// CopyUntil on and on through the windows: false at the end of the text.
bool CopyToNext(SpanWindow& spans, const char16_t*& r, char16_t*& w, char16_t c) {
    for (;;) {
        r = CopyUntil(r, spans.Limit(), w, c);
        if (r != spans.Limit()) return true;
        if (spans.Done()) return false;
        spans.Refill();
    }
}

// The tabs of text from its first one outside the spans, tab, into out (with
// the text before it), as ExpandTabs does; returns the result's length. out
// has room for the result and the sixteen more characters CopyUntil needs.
size_t WriteExpanded(SpanWindow& spans, std::u16string_view text, const char16_t* tab, size_t spaces,
                     std::u16string& out) {
    char16_t* w = out.data();
    std::memcpy(w, text.data(), static_cast<size_t>(tab - text.data()) * sizeof(char16_t));
    w += tab - text.data();
    const char16_t* r = tab;
    do {
        if (spans.Protected(r)) {
            *w++ = *r;
        } else {
            for (size_t i = 0; i < spaces; ++i) w[i] = u' ';
            w += spaces;
        }
        ++r;
    } while (CopyToNext(spans, r, w, u'\t'));
    return static_cast<size_t>(w - out.data());
}

}  // namespace

bool TrimTrailingSpaces(std::u16string& text, const TextContext& context) {
    SpanWindow spans(text, context);
    char16_t* const first = text.data();
    const char16_t* const end = first + text.size();
    auto beforeBreak = [end](const char16_t* sp) { return end - sp >= 3 && sp[2] == u'\n'; };
    const char16_t* r = FindMatch(spans, first, u' ', u'\r', beforeBreak);
    if (r == end) return false;
    // As TrimTrailingSpaces above, from the first space that goes on. The
    // spaces taken back never reach into a span, which ends in a quote.
    char16_t* w = first + (r - first);
    do {
        if (beforeBreak(r) && !spans.Protected(r)) {
            w = BeforeSpaces(w, first);
        } else {
            *w++ = *r;
        }
        ++r;
    } while (CopyDownToNext(spans, r, w, u' ', u'\r'));
    text.resize(static_cast<size_t>(w - first));
    return true;
}

bool SqueezeBlankLines(std::u16string& text, const TextContext& context) {
    SpanWindow spans(text, context);
    char16_t* const first = text.data();
    const char16_t* const end = first + text.size();
    const char16_t* r = FindMatch(spans, first, u'\n', u'\r', [first, end](const char16_t* lf) {
        return lf != first && lf[-1] == u'\r' && end - lf >= 3 && lf[2] == u'\n';
    });
    if (r == end) return false;
    // As SqueezeBlankLines above: CR LF pairs go after a kept pair whose LF
    // lies outside the spans (and so do they, as no span starts with a CR).
    char16_t* w = first + (r - first);
    do {
        *w++ = *r++;  // the LF
        if (w[-2] == u'\r' && end - r >= 2 && r[0] == u'\r' && r[1] == u'\n' && !spans.Protected(r - 1)) {
            while (end - r >= 2 && r[0] == u'\r' && r[1] == u'\n') r += 2;
            while (spans.Limit() < r) spans.Refill();  // the run may reach past the window
        }
    } while (CopyDownToNext(spans, r, w, u'\n', u'\r'));
    text.resize(static_cast<size_t>(w - first));
    return true;
}

bool ExpandTabs(std::u16string_view text, int32_t width, std::u16string& out, const TextContext& context,
                MaxLength limit) {
    SpanWindow spans(text, context);
    const char16_t* const first = text.data();
    const char16_t* const end = first + text.size();
    const size_t spaces = width > 0 ? static_cast<size_t>(width) : 0;
    // Up to the first tab outside the spans nothing is written.
    const char16_t* tab = first;
    for (;;) {
        tab = search::FindAny<u'\t'>(tab, spans.Limit());
        if (tab != spans.Limit()) {
            if (!spans.Protected(tab)) break;
            ++tab;
        } else if (spans.Done()) {
            return false;
        } else {
            spans.Refill();
        }
    }
    // Every tab from there on taken as outside the spans gives a size the
    // result cannot exceed; out gets that much when it is not much more than
    // the text. Else (many tabs, maybe in literals) the size is found first,
    // in a pass of its own.
    const uint64_t tabs = Count(tab, end, u'\t');
    uint64_t size = text.size() + (spaces > 1 ? tabs * (spaces - 1) : 0);
    if (size > 2 * uint64_t{text.size()} + 0x10000 || size > limit.n) {
        SpanWindow counting(text, context);
        uint64_t outside = 0;
        for (const char16_t* p = first;;) {
            p = search::FindAny<u'\t'>(p, counting.Limit());
            if (p != counting.Limit()) {
                outside += !counting.Protected(p);
                ++p;
            } else if (counting.Done()) {
                break;
            } else {
                counting.Refill();
            }
        }
        size = text.size() - outside + outside * spaces;
        if (size > limit.n) throw ResultTooLong(size);
        SpanWindow again(text, context);
        while (again.Limit() <= tab) again.Refill();
        out.resize(static_cast<size_t>(size) + 16);
        out.resize(WriteExpanded(again, text, tab, spaces, out));
        return true;
    }
    out.resize(static_cast<size_t>(size) + 16);
    out.resize(WriteExpanded(spans, text, tab, spaces, out));
    return true;
}

}  // namespace quill::commands
