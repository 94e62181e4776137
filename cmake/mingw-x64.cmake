# Cross build for 64-bit Windows with MinGW-w64 (posix threads variant).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUILL_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The literal scan uses AVX2 where the processor has it. GCC for Windows cannot
# align the stack to the 32 bytes that its aligned moves of AVX registers
# assume; the assembler then writes every such move as an unaligned one.
set(CMAKE_CXX_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
set(CMAKE_C_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
