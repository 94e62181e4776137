#include "commands/simd.h"

#include <atomic>

namespace quill::commands {
namespace {
std::atomic<bool> narrowOnly{false};
}  // namespace

bool WideVectors() noexcept {
#if QUILL_SSE2
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("pclmul");
    return has && !narrowOnly.load(std::memory_order_relaxed);
#else
    return false;
#endif
}

void NarrowVectorsOnlyForTests(bool narrow) noexcept { narrowOnly = narrow; }

}  // namespace quill::commands
