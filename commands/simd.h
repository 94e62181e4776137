#pragma once
// Which loops the text searches take: SSE2 blocks where the compiler targets
// SSE2 (the x64 DLL, the native build), plain loops otherwise (the x86 DLL).
// QUILL_PLAIN_LOOPS forces the plain loops, so that the native build can run
// the tests on the loops the x86 DLL takes, which cannot be run here.
#if defined(__SSE2__) && !defined(QUILL_PLAIN_LOOPS)
#define QUILL_SSE2 1
#include <emmintrin.h>
#else
#define QUILL_SSE2 0
#endif
