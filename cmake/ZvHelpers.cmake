# Writes a module-definition file that exports NAMES (list of "name:argbytes") in order,
# at ordinals 1..n. On i686 the stdcall symbols carry "@bytes" and are exported undecorated;
# ALIAS_PREFIX maps an export to a differently named implementation.
function(zv_write_def OUT LIBNAME)
  cmake_parse_arguments(ARG "ORDINALS" "ALIAS_PREFIX" "NAMES" ${ARGN})
  set(text "LIBRARY ${LIBNAME}\nEXPORTS\n")
  set(ordinal 1)
  foreach(entry IN LISTS ARG_NAMES)
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 name)
    list(GET parts 1 bytes)
    set(impl "${ARG_ALIAS_PREFIX}${name}")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(impl "${impl}@${bytes}")
    endif()
    if(ARG_ORDINALS)
      string(APPEND text "  ${name} = ${impl} @${ordinal}\n")
    else()
      string(APPEND text "  ${name} = ${impl}\n")
    endif()
    math(EXPR ordinal "${ordinal} + 1")
  endforeach()
  file(WRITE "${OUT}.tmp" "${text}")
  file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
endfunction()

# Google Test: Debian's package natively, built from Debian's sources for mingw.
macro(zv_find_gtest)
  if(NOT TARGET GTest::gtest_main)
    if(WIN32)
      set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
      set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
      add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
      # libstdc++'s <chrono> holds a literal with no code page 932 form (the micro sign), so
      # Google Test itself is built with the default execution character set. Our own sources
      # must not include <chrono> for the same reason.
      # It is built lightly optimised and without debug information: it is large and not under test.
      target_compile_options(gtest PRIVATE -w -fexec-charset=UTF-8 -O1 -g0)
      target_compile_options(gtest_main PRIVATE -w -fexec-charset=UTF-8 -O1 -g0)
      if(NOT TARGET GTest::gtest_main)
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gtest_main ALIAS gtest_main)
      endif()
    else()
      find_package(GTest REQUIRED)
    endif()
  endif()
endmacro()

# Writes the substitute host's module-definition file: each "Fn:bytes" is exported as the
# decorated host name "_APA<Fn>@<bytes>" and implemented by "Host_<Fn>".
function(zv_write_host_def OUT)
  set(text "EXPORTS\n")
  foreach(entry IN LISTS ARGN)
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 fn)
    list(GET parts 1 bytes)
    set(impl "Host_${fn}")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(impl "${impl}@${bytes}")
    endif()
    string(APPEND text "  _APA${fn}@${bytes} = ${impl}\n")
  endforeach()
  file(WRITE "${OUT}.tmp" "${text}")
  file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
endfunction()

# Test programs build quickly: Google Test's header and the library headers most tests use are
# precompiled once per build and shared by every test program, and the test code itself is
# optimised lightly (-O1) in the builds with line tables, not at all in the sanitizer build.
# The code under test keeps the build's own flags.
function(zv_test_program target)
  get_property(pch_owner GLOBAL PROPERTY ZV_TEST_PCH_OWNER)
  if(pch_owner)
    target_precompile_headers(${target} REUSE_FROM ${pch_owner})
  else()
    target_precompile_headers(${target} PRIVATE <gtest/gtest.h> <functional> <map> <optional>
                                                <string> <vector>)
    set_property(GLOBAL PROPERTY ZV_TEST_PCH_OWNER ${target})
  endif()
  target_compile_options(${target} PRIVATE $<$<CONFIG:RelWithDebInfo>:-O1> $<$<CONFIG:Debug>:-O0>)
endfunction()
