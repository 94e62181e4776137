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
        if (end - r >= 3 && r[2] == u'\n') {
            while (w > first && w[-1] == u' ') --w;
            // The space at r goes too; the line break is copied with what follows.
        } else {
            *w++ = *r;  // a space before a lone CR stays
        }
        r = CopyDownUntil2(r + 1, end, w, u' ', u'\r');
        if (r == end) break;
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

bool ExpandTabs(std::u16string_view text, int32_t width, std::u16string& out) {
    const char16_t* const first = text.data();
    const char16_t* const end = first + text.size();
    const size_t tabs = Count(first, end, u'\t');
    if (tabs == 0) return false;
    const size_t spaces = width > 0 ? static_cast<size_t>(width) : 0;
    // At most 2^31 * 2^31: no overflow in 64 bits.
    const uint64_t size = uint64_t{text.size() - tabs} + uint64_t{tabs} * spaces;
    if (size > kMaxTextLength) throw std::bad_alloc();
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

}  // namespace quill::commands
