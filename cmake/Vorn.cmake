# Build helpers shared by every folder.

include(${CMAKE_CURRENT_LIST_DIR}/WriteIfChanged.cmake)

# Our own code builds with warnings as errors; third-party and generated
# code (moc, resources) does not go through this.
# GCC 12 reports buffer overflows inside the standard library's inlined
# vector and string code at -O2 that cannot happen; those stay warnings
# (the sanitizer build checks the real thing at run time).
# The window classes each have a Create of their own that hides CWnd's on
# purpose, as the framework they follow does; clang's -Wall warns about that
# (-Woverloaded-virtual), GCC's does not.
function(vorn_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
    -Wno-missing-field-initializers
    $<$<CXX_COMPILER_ID:GNU>:-Wno-error=stringop-overflow -Wno-error=array-bounds -Wno-error=restrict -Wno-error=stringop-overread>
    $<$<CXX_COMPILER_ID:Clang>:-Wno-overloaded-virtual>)
endfunction()

# vorn_fuzz_program(<target>): a libFuzzer program. The fuzz build
# (VORN_FUZZ) compiles everything instrumented; this links the fuzzer's
# driver, which only these programs take.
function(vorn_fuzz_program target)
  vorn_warnings(${target})
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
endfunction()

# The sanitizer build reports leaks: a test that leaks fails. What the system's
# libraries keep for the process's life is listed in cmake/lsan.supp.
if(VORN_SANITIZE)
  set(VORN_DETECT_LEAKS 1)
else()
  set(VORN_DETECT_LEAKS 0)
endif()

# The environment every test runs in: headless Qt, a fixed desktop, UTC and
# private configuration folders, so no test reads the developer's settings.
set(VORN_TEST_ENV
  "QT_QPA_PLATFORM=offscreen"
  "PLAT_DESKTOP=1024x768"
  "TZ=UTC"
  "LC_ALL=C.UTF-8"
  "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-home/config"
  "XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-home/run"
  "PLAT_LINK_DIR=${CMAKE_BINARY_DIR}/test-home/link"
  "ASAN_OPTIONS=detect_leaks=${VORN_DETECT_LEAKS}:abort_on_error=0"
  "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/cmake/lsan.supp:print_suppressions=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/test-home/config ${CMAKE_BINARY_DIR}/test-home/run)

# vorn_test_folder(<label> LIBS <libs...>)
# Called from <folder>/tests/CMakeLists.txt. Every *.cpp directly in tests/
# makes one executable <label>_tests; every sub-folder of tests/ that holds
# *_test.cpp files makes one executable <label>_<sub>_tests, so several
# people can add tests to one folder without touching this file. Files in
# tests/support/ are linked into every executable of the folder.
function(vorn_test_folder label)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
  file(GLOB top CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  set(groups "")
  # Each group is "<exe>|<file>|<file>..." so that one list item holds a
  # whole group.
  if(top)
    list(JOIN top "|" joined)
    list(APPEND groups "${label}_tests|${joined}")
  endif()
  file(GLOB subs LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(sub ${subs})
    if(IS_DIRECTORY ${sub})
      get_filename_component(name ${sub} NAME)
      if(NOT name STREQUAL "support" AND NOT name STREQUAL "data" AND NOT name STREQUAL "fuzz")
        file(GLOB files CONFIGURE_DEPENDS ${sub}/*_test.cpp)
        if(files)
          list(JOIN files "|" joined)
          list(APPEND groups "${label}_${name}_tests|${joined}")
        endif()
      endif()
    endif()
  endforeach()
  foreach(group ${groups})
    string(REPLACE "|" ";" parts "${group}")
    list(POP_FRONT parts exe)
    add_executable(${exe} ${parts} ${support})
    vorn_warnings(${exe})
    target_include_directories(${exe} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${exe} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${exe} PRIVATE
      VORN_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data"
      VORN_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
      VORN_BINARY_DIR="${CMAKE_BINARY_DIR}"
      VORN_CMAKE_COMMAND="${CMAKE_COMMAND}"
      VORN_CMAKE_GENERATOR="${CMAKE_GENERATOR}"
      VORN_CMAKE_MAKE_PROGRAM="${CMAKE_MAKE_PROGRAM}")
    # gtest_discover_tests splits a list-valued ENVIRONMENT, so the test
    # environment comes from env(1) as the launcher, for discovery and runs.
    set_target_properties(${exe} PROPERTIES CROSSCOMPILING_EMULATOR "/usr/bin/env;${VORN_TEST_ENV}")
    gtest_discover_tests(${exe}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES LABELS ${label} TIMEOUT 300)
  endforeach()
endfunction()

# vorn_add_test_program(<name> <label> COMMAND ...): a plain CTest case that
# is not a GoogleTest executable (symbol checks, tool round trips).
function(vorn_add_test_command name label)
  add_test(NAME ${name} COMMAND ${ARGN})
  set_tests_properties(${name} PROPERTIES LABELS ${label} ENVIRONMENT "${VORN_TEST_ENV}")
endfunction()
