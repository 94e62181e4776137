# Windows side: the plug-in DLL, the host stand-in and the Windows tests.
# The C and C++ runtimes are linked in, so the binaries import only system DLLs.
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# GoogleTest's Notification needs std::mutex, which the win32 thread model's
# C++ library lacks: it gets one over a Win32 event instead.
target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
target_compile_options(gtest PUBLIC
  "SHELL:-include ${CMAKE_SOURCE_DIR}/tests/support/gtest_notification_win.h")

set(QUILL_PLUGIN_FOLDERS base settings ui commands about configure host)

# Everything of the plug-in but its exports, so tests can link it too.
quill_collect(QUILL_WIN_SOURCES win ${QUILL_PLUGIN_FOLDERS})
add_library(quill_win STATIC ${QUILL_WIN_SOURCES})
target_link_libraries(quill_win PUBLIC quill_core user32 gdi32 comctl32 shell32 version kernel32)
target_compile_options(quill_win PRIVATE -Wall -Wextra)

# The DLL: its exports, the export names and the resources.
configure_file(${CMAKE_SOURCE_DIR}/host/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
quill_collect(QUILL_EXPORT_SOURCES boundary ${QUILL_PLUGIN_FOLDERS})
add_library(Quillmendex SHARED
  ${QUILL_EXPORT_SOURCES}
  ${CMAKE_SOURCE_DIR}/host/Quillmendex.def
  ${CMAKE_SOURCE_DIR}/host/Quillmendex.rc
  ${CMAKE_SOURCE_DIR}/configure/settingsdialog.rc)
set_target_properties(Quillmendex PROPERTIES PREFIX "" OUTPUT_NAME Quillmendex)
target_include_directories(Quillmendex PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(Quillmendex PRIVATE quill_win)
set(QUILL_BITMAPS_DIR ${CMAKE_SOURCE_DIR}/bitmaps)
add_custom_command(TARGET Quillmendex POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/plugin
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Quillmendex> ${CMAKE_BINARY_DIR}/plugin/
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${QUILL_BITMAPS_DIR} ${CMAKE_BINARY_DIR}/plugin/)

# The host stand-in, of the tree's architecture. The 32-bit one calls the
# plug-in as a 32-bit IDE does (quillhost/stack_win.h).
quill_collect(QUILLHOST_SOURCES win quillhost)
quill_collect(QUILLHOST_MAIN boundary quillhost)
add_executable(quillhost ${QUILLHOST_MAIN} ${QUILLHOST_SOURCES})
target_include_directories(quillhost PRIVATE ${QUILL_JSON_INCLUDE})
target_link_libraries(quillhost PRIVATE quill_core user32 gdi32 comctl32 psapi)
target_compile_options(quillhost PRIVATE -Wall -Wextra)
target_link_options(quillhost PRIVATE -municode -mconsole)
# The sample that the window for people opens with travels inside the program.
target_sources(quillhost PRIVATE ${CMAKE_SOURCE_DIR}/quillhost/quillhost.rc)
set_source_files_properties(${CMAKE_SOURCE_DIR}/quillhost/quillhost.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/samples/messy.sql)

# Windows tests, run in-process under Wine.
quill_collect(QUILL_WINTESTS wintest ${QUILL_FOLDERS})
if(QUILL_WINTESTS)
  # The settings dialog's template, which the DLL carries, for the tests of the dialog.
  add_executable(quill_wintests ${QUILL_WINTESTS} ${CMAKE_SOURCE_DIR}/configure/settingsdialog.rc)
  target_link_libraries(quill_wintests PRIVATE quill_win gtest gtest_main)
  target_compile_definitions(quill_wintests PRIVATE
    QUILL_TEST_PLUGIN_DIR="${CMAKE_BINARY_DIR}/plugin")
  add_dependencies(quill_wintests Quillmendex)
  include(GoogleTest)
  add_test(NAME wintests COMMAND quill_wintests)
endif()

# ---- About window: small test programs (sources in about/testdata) -----------
# Two DLLs for the version-text tests (no version resource at all; only a
# "040904B0" string table) and the driver of scripts/screenshots-about.sh.
add_library(about_noversion SHARED about/testdata/noversion.c)
add_library(about_unicodetable SHARED about/testdata/noversion.c about/testdata/unicodetable.rc)
set_target_properties(about_noversion about_unicodetable PROPERTIES
  PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testdata)
add_executable(aboutshot about/testdata/aboutshot.c)
target_link_options(aboutshot PRIVATE -municode)
if(TARGET quill_wintests)
  add_dependencies(quill_wintests about_noversion about_unicodetable)
  target_compile_definitions(quill_wintests PRIVATE QUILL_TEST_DATA_DIR="${CMAKE_BINARY_DIR}/testdata")
endif()

# ---- The host stand-in's own test plug-ins (tests/e2e/testplugin) -----------
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/e2e/testplugin ${CMAKE_BINARY_DIR}/testplugin-build)

# ---- The transforms' speed as a Windows program of this tree runs them -------
add_executable(quill_timing EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/tests/timing/transforms_timing.cpp)
target_link_libraries(quill_timing PRIVATE quill_core)
