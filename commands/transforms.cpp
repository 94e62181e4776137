#include "commands/transforms.h"

#include <bit>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quill::commands {
namespace {

// The first c in [p, end), or end.
#if defined(__SSE2__)
// Sixteen characters at a time; their compare results packed to one bit each.
const char16_t* Find(const char16_t* p, const char16_t* end, char16_t c) noexcept {
    const __m128i needle = _mm_set1_epi16(static_cast<short>(c));
    while (end - p >= 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
        const auto hits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(a, needle), _mm_cmpeq_epi16(b, needle))));
        if (hits) return p + std::countr_zero(hits);
        p += 16;
    }
    while (p < end && *p != c) ++p;
    return p;
}
#else
// Blocks are tested whole, without an early exit inside, so the compiler can
// still turn the test into vector compares where the target has them.
const char16_t* Find(const char16_t* p, const char16_t* end, char16_t c) noexcept {
    constexpr ptrdiff_t kBlock = 32;
    while (end - p >= kBlock) {
        unsigned hit = 0;
        for (ptrdiff_t i = 0; i < kBlock; ++i) hit |= p[i] == c;
        if (hit) break;
        p += kBlock;
    }
    while (p < end && *p != c) ++p;
    return p;
}
#endif

// The first p where p[0] is a and p[1] is b, or end when none.
#if defined(__SSE2__)
const char16_t* Find2(const char16_t* p, const char16_t* end, char16_t a, char16_t b) noexcept {
    const __m128i first = _mm_set1_epi16(static_cast<short>(a));
    const __m128i second = _mm_set1_epi16(static_cast<short>(b));
    auto match = [&](const char16_t* q) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 1));
        return _mm_and_si128(_mm_cmpeq_epi16(x, first), _mm_cmpeq_epi16(y, second));
    };
    while (end - p >= 17) {
        const auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(match(p), match(p + 8))));
        if (hits) return p + std::countr_zero(hits);
        p += 16;
    }
    for (; end - p >= 2; ++p)
        if (p[0] == a && p[1] == b) return p;
    return end;
}
#else
const char16_t* Find2(const char16_t* p, const char16_t* end, char16_t a, char16_t b) noexcept {
    constexpr ptrdiff_t kBlock = 32;
    while (end - p > kBlock) {
        unsigned hit = 0;
        for (ptrdiff_t i = 0; i < kBlock; ++i) hit |= (p[i] == a) & (p[i + 1] == b);
        if (hit) break;
        p += kBlock;
    }
    for (; end - p >= 2; ++p)
        if (p[0] == a && p[1] == b) return p;
    return end;
}
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

// Drops stretches of a text in place: what is kept moves towards the front,
// whole stretches at a time. Nothing moves before the first drop.
class Compactor {
public:
    explicit Compactor(std::u16string& text) : text_(text), kept_(text.data()), to_(text.data()) {}
    // Keeps everything from the last mark up to p and drops [p, next).
    void Drop(const char16_t* p, const char16_t* next) {
        Move(p);
        kept_ = next;
        changed_ = true;
    }
    bool Finish() {
        if (!changed_) return false;
        Move(text_.data() + text_.size());
        text_.resize(static_cast<size_t>(to_ - text_.data()));
        return true;
    }

private:
    void Move(const char16_t* p) {
        const size_t n = static_cast<size_t>(p - kept_);
        if (to_ != kept_) std::memmove(to_, kept_, n * sizeof(char16_t));
        to_ += n;
    }
    std::u16string& text_;
    const char16_t* kept_;
    char16_t* to_;
    bool changed_ = false;
};

// Runs of spaces: how far back from p the spaces reach, but not past stop.
const char16_t* SpacesBefore(const char16_t* p, const char16_t* stop) noexcept {
    constexpr ptrdiff_t kBlock = 16;
    while (p - stop >= kBlock) {
        unsigned all = 1;
        for (ptrdiff_t i = 1; i <= kBlock; ++i) all &= p[-i] == u' ';
        if (!all) break;
        p -= kBlock;
    }
    while (p > stop && p[-1] == u' ') --p;
    return p;
}

}  // namespace

bool TrimTrailingSpaces(std::u16string& text) {
    const char16_t* const first = text.data();
    const char16_t* const end = first + text.size();
    Compactor out(text);
    const char16_t* seen = first;  // nothing before this is looked at again
    // Only a space right in front of a CR can start what goes.
    for (const char16_t* sp = Find2(first, end, u' ', u'\r'); sp != end; sp = Find2(sp + 1, end, u' ', u'\r')) {
        const char16_t* const cr = sp + 1;
        if (end - cr < 2 || cr[1] != u'\n') continue;
        // Every space in front of the line break goes, one per pass of the
        // repeated replacement, until a character that is no space stands there.
        out.Drop(SpacesBefore(sp, seen), cr);
        seen = cr + 2;
        sp = cr;  // the search goes on after the line break
    }
    return out.Finish();
}

bool SqueezeBlankLines(std::u16string& text) {
    const char16_t* const first = text.data();
    const char16_t* const end = first + text.size();
    Compactor out(text);
    // Two CR LF pairs in a row meet where an LF stands before a CR.
    for (const char16_t* lf = Find2(first, end, u'\n', u'\r'); lf != end; lf = Find2(lf + 1, end, u'\n', u'\r')) {
        if (lf == first || lf[-1] != u'\r' || end - lf < 3 || lf[2] != u'\n') continue;
        // A run of CR LF pairs; whatever its length, its first pair is left.
        const char16_t* run = lf + 1;
        while (end - run >= 2 && run[0] == u'\r' && run[1] == u'\n') run += 2;
        out.Drop(lf + 1, run);
        lf = run - 1;  // the search goes on after the run
    }
    return out.Finish();
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
    out.clear();
    out.reserve(static_cast<size_t>(size));
    const char16_t* kept = first;
    for (const char16_t* tab = Find(first, end, u'\t'); tab != end; tab = Find(tab + 1, end, u'\t')) {
        out.append(kept, tab);
        out.append(spaces, u' ');
        kept = tab + 1;
    }
    out.append(kept, end);
    return true;
}

}  // namespace quill::commands
