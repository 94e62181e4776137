# The win32 thread model: the plug-in starts no thread, and this model's
# runtime, unlike the posix one's, links in no thread library that would.
set(CMAKE_C_COMPILER   ${QUILL_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${QUILL_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER  ${QUILL_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUILL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Windows programs built here run under Wine (see scripts/wine-run).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
