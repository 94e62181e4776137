#pragma once
// Which loops the text searches take: SSE2 blocks where the compiler targets
// SSE2 (the x64 DLL, the native build), plain loops otherwise (the x86 DLL).
// QUILL_PLAIN_LOOPS forces the plain loops, so that the native build can run
// the tests on the loops the x86 DLL takes, which cannot be run here.
//
// Where SSE2 is there, the hottest loops also have a way with AVX2, in
// functions of their own (QUILL_WIDE), taken when the processor has it.
#if defined(__SSE2__) && !defined(QUILL_PLAIN_LOOPS)
#define QUILL_SSE2 1
#include <immintrin.h>
#define QUILL_WIDE [[gnu::target("avx2,pclmul")]]
#else
#define QUILL_SSE2 0
#endif

namespace quill::commands {

// Whether the AVX2 ways are taken: the processor has AVX2 and the carry-less
// multiplication (found once), and the tests have not turned them off.
bool WideVectors() noexcept;

// The tests run the SSE2 ways also where the processor has AVX2.
void NarrowVectorsOnlyForTests(bool narrow) noexcept;

}  // namespace quill::commands
