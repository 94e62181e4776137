# Native side: unit tests of the portable core, the tests that drive the DLL in
# the host stand-in under Wine, and the benchmarks.

quill_collect(QUILL_UNIT_TESTS test ${QUILL_FOLDERS})
add_executable(quill_tests ${QUILL_UNIT_TESTS})
target_link_libraries(quill_tests PRIVATE quill_core gtest gmock gtest_main)
target_include_directories(quill_tests PRIVATE ${QUILL_JSON_INCLUDE})
add_test(NAME unit COMMAND quill_tests)

# End-to-end tests need the Windows build: QUILL_WIN64_DIR is its build tree.
set(QUILL_WIN64_DIR "" CACHE PATH "Build tree of the x64 Windows build")
file(GLOB QUILL_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(QUILL_WIN64_DIR AND QUILL_E2E_TESTS)
  add_executable(quill_e2e ${QUILL_E2E_TESTS})
  target_link_libraries(quill_e2e PRIVATE quill_core gtest gmock gtest_main)
  target_include_directories(quill_e2e PRIVATE ${QUILL_JSON_INCLUDE} ${CMAKE_SOURCE_DIR}/tests/e2e)
  target_compile_definitions(quill_e2e PRIVATE
    QUILL_WIN64_DIR="${QUILL_WIN64_DIR}"
    QUILL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  # One CTest test per test case, so `ctest -j` runs them side by side.
  include(GoogleTest)
  # Keyboard focus belongs to the one foreground window of a Wine server, which
  # the stand-ins of tests run side by side take from each other: the tests of
  # where the focus goes run alone.
  set(QUILL_E2E_FOCUS "Configure.AfterEveryTab*")
  gtest_discover_tests(quill_e2e TEST_PREFIX "e2e." TEST_FILTER "-${QUILL_E2E_FOCUS}" DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 1800)
  gtest_discover_tests(quill_e2e TEST_PREFIX "e2e." TEST_FILTER "${QUILL_E2E_FOCUS}" DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 1800 RUN_SERIAL TRUE)
endif()

if(QUILL_BENCH)
  find_package(benchmark QUIET)
  quill_collect(QUILL_BENCHES bench ${QUILL_FOLDERS})
  if(benchmark_FOUND AND QUILL_BENCHES)
    add_executable(quill_bench ${QUILL_BENCHES})
    target_link_libraries(quill_bench PRIVATE quill_core benchmark::benchmark_main)
    # The same benchmarks on the plain loops that the x86 DLL takes (see
    # quill_core_plain below): what a user of the 32-bit IDE can expect.
    quill_collect(QUILL_PLAIN_BENCHES bench commands)
    add_executable(quill_bench_plain ${QUILL_PLAIN_BENCHES})
    target_link_libraries(quill_bench_plain PRIVATE quill_core_plain benchmark::benchmark_main)
  endif()
endif()

# Both DLLs: ten undecorated exports, system imports only.
if(QUILL_WIN64_DIR)
  get_filename_component(QUILL_BUILD_ROOT ${QUILL_WIN64_DIR} DIRECTORY)
  add_test(NAME exports-x64 COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-exports.sh ${QUILL_BUILD_ROOT}/x64/Quillmendex.dll x86_64)
  add_test(NAME exports-x86 COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-exports.sh ${QUILL_BUILD_ROOT}/x86/Quillmendex.dll i686)
endif()

# libFuzzer targets (clang only): each name_fuzz.cpp is a program of its own,
# linked with an instrumented copy of the core. Build them with --target fuzzers.
option(QUILL_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(QUILL_FUZZ)
  add_library(quill_core_fuzz STATIC ${QUILL_CORE_SOURCES})
  target_include_directories(quill_core_fuzz PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(quill_core_fuzz PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  add_custom_target(fuzzers)
  quill_collect(QUILL_FUZZERS fuzz ${QUILL_FOLDERS})
  foreach(f IN LISTS QUILL_FUZZERS)
    get_filename_component(name ${f} NAME_WE)
    add_executable(${name} EXCLUDE_FROM_ALL ${f})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE quill_core_fuzz)
    add_dependencies(fuzzers ${name})
  endforeach()
endif()

# The folders stand on each other as floors; nothing includes from above.
add_test(NAME layout COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-layout.sh)

# The plain loops, which the x86 DLL takes (it has no SSE2) and which cannot
# run here as a 32-bit program: the core again with QUILL_PLAIN_LOOPS, the
# unit tests of commands/ against it, and the seed corpora of the fuzz targets
# of commands/ run once through each target (tests/replay). quill_tests brings
# them along, as the sanitizer tree builds only that target and runs ctest.
add_library(quill_core_plain STATIC ${QUILL_CORE_SOURCES})
target_include_directories(quill_core_plain PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(quill_core_plain PUBLIC QUILL_PLAIN_LOOPS)
# No vector code either: the x86 DLL's compiler targets processors without SSE2.
target_compile_options(quill_core_plain PRIVATE -Wall -Wextra -fno-tree-vectorize)

quill_collect(QUILL_PLAIN_TESTS test commands)
add_executable(quill_tests_plain ${QUILL_PLAIN_TESTS})
target_link_libraries(quill_tests_plain PRIVATE quill_core_plain gtest gmock gtest_main)
target_include_directories(quill_tests_plain PRIVATE ${QUILL_JSON_INCLUDE})
add_test(NAME unit-plain COMMAND quill_tests_plain)
add_dependencies(quill_tests quill_tests_plain)

quill_collect(QUILL_PLAIN_FUZZERS fuzz commands)
foreach(f IN LISTS QUILL_PLAIN_FUZZERS)
  get_filename_component(name ${f} NAME_WE)
  add_executable(${name}_replay ${CMAKE_SOURCE_DIR}/tests/replay/replay_corpus.cpp ${f})
  target_link_libraries(${name}_replay PRIVATE quill_core_plain)
  add_test(NAME corpus-plain.${name} COMMAND ${name}_replay ${CMAKE_SOURCE_DIR}/tests/fuzz-corpus/${name})
  add_dependencies(quill_tests ${name}_replay)
endforeach()
