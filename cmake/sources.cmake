# Sources are sorted into targets by the ending of their file name:
#   name.cpp          portable core (no <windows.h>)
#   name_win.cpp      Windows code of the plug-in and the host stand-in
#   name_test.cpp     native unit test
#   name_wintest.cpp  Windows test, run under Wine
#   name_bench.cpp    native benchmark
#   name_fuzz.cpp     libFuzzer target
# Files of the DLL's own boundary (exports, resources) are named in windows.cmake.
function(quill_collect out kind)
  set(result "")
  foreach(folder IN LISTS ARGN)
    file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    foreach(f IN LISTS files)
      get_filename_component(n ${f} NAME)
      if(n MATCHES "_wintest\\.cpp$")
        set(k wintest)
      elseif(n MATCHES "_test\\.cpp$")
        set(k test)
      elseif(n MATCHES "_bench\\.cpp$")
        set(k bench)
      elseif(n MATCHES "_fuzz\\.cpp$")
        set(k fuzz)
      elseif(n MATCHES "^(exports|main)_win\\.cpp$")
        set(k boundary)
      elseif(n MATCHES "_win\\.cpp$")
        set(k win)
      else()
        set(k core)
      endif()
      if(k STREQUAL kind)
        list(APPEND result ${f})
      endif()
    endforeach()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()
