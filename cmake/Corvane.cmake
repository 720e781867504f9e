# Target helpers shared by every subsystem. Each subsystem declares its
# targets once with these functions; the helpers decide what a build makes.

option(CORVANE_WERROR "Treat warnings as errors" OFF)
option(CORVANE_SANITIZE "Build native code with AddressSanitizer and UBSan" ON)

if(WIN32)
  set(CORVANE_WINDOWS ON)
else()
  set(CORVANE_WINDOWS OFF)
endif()

set(CORVANE_WARNINGS -Wall -Wextra -Wpedantic -Wconversion -Wshadow)
if(CORVANE_WERROR)
  list(APPEND CORVANE_WARNINGS -Werror)
endif()

if(CORVANE_WINDOWS)
  # One self-contained executable per program: no libstdc++/libgcc DLLs to ship.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600
                          NOMINMAX WIN32_LEAN_AND_MEAN STRICT)
  enable_language(RC)
  # Line tables are enough for a crash's stack; full debug info only makes
  # the static test programs slow to link.
  add_compile_options(-g1)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} --codepage=65001")
elseif(CORVANE_SANITIZE)
  # float-cast-overflow is not part of "undefined" in GCC: a double too large
  # for the integer it is converted to must stop the test as well.
  set(CORVANE_SANITIZER_FLAGS -fsanitize=address,undefined,float-cast-overflow
                              -fno-omit-frame-pointer
                              -fno-sanitize-recover=undefined,float-cast-overflow)
  add_compile_options(${CORVANE_SANITIZER_FLAGS})
  add_link_options(${CORVANE_SANITIZER_FLAGS})
  # The sanitized test build wants quick builds and readable reports more
  # than speed: -O1 and line tables only.
  add_compile_options(-O1 -g1)
endif()

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Leaves the calling function unless this is the build named: ON for the
# Windows build, OFF for the native one.
macro(_corvane_only_in windows)
  if(NOT CORVANE_WINDOWS STREQUAL ${windows})
    return()
  endif()
endmacro()

function(_corvane_common target)
  target_compile_options(${target} PRIVATE ${CORVANE_WARNINGS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# corvane_portable_library(name SOURCES ... [DEPS ...])
# Portable rules: standard C++ only, never <windows.h>. Built in both builds,
# so an include of a Windows header here breaks the native build at once.
function(corvane_portable_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  _corvane_common(${name})
  if(A_DEPS)
    target_link_libraries(${name} PUBLIC ${A_DEPS})
  endif()
endfunction()

# corvane_win32_library(name SOURCES ... [DEPS ...] [LIBS ...])
# Thin Win32 adapters and windows; built in the Windows build only.
function(corvane_win32_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;LIBS" ${ARGN})
  _corvane_only_in(ON)
  add_library(${name} STATIC ${A_SOURCES})
  _corvane_common(${name})
  target_link_libraries(${name} PUBLIC ${A_DEPS} ${A_LIBS})
endfunction()

# Adds sources and libraries to one of the test programs, whose lists are kept
# as global properties CORVANE_<kind>_TEST_SOURCES and _DEPS; only in the
# build that makes that program (windows: see _corvane_only_in).
function(_corvane_add_test_sources kind windows)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  _corvane_only_in(${windows})
  foreach(s IN LISTS A_SOURCES)
    get_filename_component(abs ${s} ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY CORVANE_${kind}_TEST_SOURCES ${abs})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY CORVANE_${kind}_TEST_DEPS ${A_DEPS})
endfunction()

# corvane_native_tests(SOURCES ... DEPS ...)
# Adds sources to the one native unit-test program (corvane_unit_tests).
function(corvane_native_tests)
  _corvane_add_test_sources(NATIVE OFF ${ARGN})
endfunction()

# corvane_windows_tests(SOURCES ... DEPS ...)
# Adds sources to the one Windows test program (corvane_win_tests.exe), which
# the test command runs under Wine once per Windows version.
function(corvane_windows_tests)
  _corvane_add_test_sources(WINDOWS ON ${ARGN})
endfunction()

# corvane_gui_tests(SOURCES ... DEPS ...)
# Adds sources to the end-to-end GUI test program (corvane_gui_tests.exe),
# which drives the real corvane.exe under Wine on Xvfb.
function(corvane_gui_tests)
  _corvane_add_test_sources(GUI ON ${ARGN})
endfunction()

# An executable made in one build only (windows: see _corvane_only_in). GUI
# makes a Windows program with no console.
function(_corvane_program name windows)
  cmake_parse_arguments(A "GUI" "" "SOURCES;DEPS" ${ARGN})
  _corvane_only_in(${windows})
  if(A_GUI)
    add_executable(${name} WIN32 ${A_SOURCES})
  else()
    add_executable(${name} ${A_SOURCES})
  endif()
  _corvane_common(${name})
  target_link_libraries(${name} PRIVATE ${A_DEPS})
endfunction()

# corvane_windows_program(name SOURCES ... DEPS ... [GUI])
# A helper executable for the Windows build (probes, benchmarks).
function(corvane_windows_program name)
  _corvane_program(${name} ON ${ARGN})
endfunction()

# corvane_native_program(name SOURCES ... DEPS ...)
# A helper executable for the native build (fuzz drivers, benchmarks).
function(corvane_native_program name)
  _corvane_program(${name} OFF ${ARGN})
endfunction()

# corvane_fuzz_target(name SOURCES ... DEPS ... [CORPUS dir])
# A fuzz target defines LLVMFuzzerTestOneInput. Natively it is linked with
# tests/fuzz/FuzzDriver.cpp, a mutation driver that needs only g++ and runs
# under ASan and UBSan; the test command runs every target for a fixed time
# (tools/suites.d/native-fuzz.sh). The same source links with libFuzzer
# (clang -fsanitize=fuzzer) where clang is at hand.
function(corvane_fuzz_target name)
  cmake_parse_arguments(A "" "CORPUS" "SOURCES;DEPS" ${ARGN})
  _corvane_only_in(OFF)
  add_executable(${name} ${A_SOURCES} ${PROJECT_SOURCE_DIR}/tests/fuzz/FuzzDriver.cpp)
  set_property(GLOBAL APPEND PROPERTY CORVANE_FUZZ_TARGETS ${name})
  _corvane_common(${name})
  target_link_libraries(${name} PRIVATE ${A_DEPS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  if(A_CORPUS)
    get_filename_component(corpus ${A_CORPUS} ABSOLUTE)
    file(WRITE ${CMAKE_BINARY_DIR}/fuzz/${name}.corpus "${corpus}\n")
  endif()
endfunction()
