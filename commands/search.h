#pragma once
// The searches that the text transforms and the literal scanner share. Each
// looks in [p, end) and never reads outside it. Internal linkage: the plain
// and the SSE2 build of them never meet in one program.
#include <bit>
#include <cstddef>

#include "commands/simd.h"

namespace quill::commands::search {
namespace {

#if QUILL_SSE2
// Sixteen characters from p on as bytes: a character up to U+00FF as its own
// byte, others as 00 or FF (unsigned saturation of the signed code unit).
inline __m128i Bytes(const char16_t* p) noexcept {
    return _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8)));
}

// Bytes equal to c; c is neither 00 nor FF, so only the character c gives it.
template <char16_t C>
__m128i ByteIs(__m128i bytes) noexcept {
    static_assert(C > 0 && C < 0xFF);
    return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(C)));
}

// Sixteen characters from p on, one bit each: set where the character is any
// of C.
template <char16_t... C>
unsigned AnyHits(const char16_t* p) noexcept {
    const __m128i bytes = Bytes(p);
    __m128i m = _mm_setzero_si128();
    ((m = _mm_or_si128(m, ByteIs<C>(bytes))), ...);
    return static_cast<unsigned>(_mm_movemask_epi8(m));
}

// One bit for each of the sixteen characters from p on: set where a stands with
// b right after it. Reads p[0] to p[16].
inline unsigned PairHits(const char16_t* p, __m128i a, __m128i b) noexcept {
    auto match = [&](const char16_t* q) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 1));
        return _mm_and_si128(_mm_cmpeq_epi16(x, a), _mm_cmpeq_epi16(y, b));
    };
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(match(p), match(p + 8))));
}
#endif

// The first p that is any of C, or end when none.
template <char16_t... C>
const char16_t* FindAny(const char16_t* p, const char16_t* end) noexcept {
#if QUILL_SSE2
    while (end - p >= 16) {
        if (const unsigned hits = AnyHits<C...>(p)) return p + std::countr_zero(hits);
        p += 16;
    }
#else
    // Blocks without an early exit, which the compiler can unroll or vectorize.
    constexpr ptrdiff_t kBlock = 32;
    while (end - p >= kBlock) {
        unsigned hit = 0;
        for (ptrdiff_t i = 0; i < kBlock; ++i) hit |= ((p[i] == C) | ...);
        if (hit) break;
        p += kBlock;
    }
#endif
    for (; p < end; ++p)
        if (((*p == C) || ...)) return p;
    return end;
}

// The first p where p[0] is a and p[1] is b, or end when none.
inline const char16_t* Find2(const char16_t* p, const char16_t* end, char16_t a, char16_t b) noexcept {
#if QUILL_SSE2
    const __m128i first = _mm_set1_epi16(static_cast<short>(a));
    const __m128i second = _mm_set1_epi16(static_cast<short>(b));
    while (end - p >= 17) {
        if (const unsigned hits = PairHits(p, first, second)) return p + std::countr_zero(hits);
        p += 16;
    }
#else
    constexpr ptrdiff_t kBlock = 32;
    while (end - p > kBlock) {
        unsigned hit = 0;
        for (ptrdiff_t i = 0; i < kBlock; ++i) hit |= (p[i] == a) & (p[i + 1] == b);
        if (hit) break;
        p += kBlock;
    }
#endif
    for (; end - p >= 2; ++p)
        if (p[0] == a && p[1] == b) return p;
    return end;
}

}  // namespace
}  // namespace quill::commands::search
