# The test command's suites as CTest tests, one test per suite run (not per
# GoogleTest case: under Wine, and more so under qemu, each process start
# costs seconds). Each test runs tools/lib/ctest-suite, which calls the bash
# functions of tools/lib/suites.sh and the hooks of tools/suites.d.
#
# Labels: the lane (native, wine-<version>) and the kind (unit, fuzz, gui,
# netns, regional, package, restart, later). The suites of one lane share a
# lock and run one after another in the order they are registered here
# (each depends on the one before), which is also the order of the rows in
# the summary of tools/test. A Windows lane runs its programs from one
# folder of its own, made by the lane's fixture (lane-setup-<version>).
# Each Windows suite starts a virtual display of its own. With one job per
# lane the lanes run side by side; tools/test runs the native tree's lane
# and the Windows tree's lanes at once:
#   ctest --preset native           # the native lane
#   ctest --preset win32 -j2        # the Windows lanes (win64 where no 32-bit code runs)
#   ctest --preset win32 -L wine-winxp -L gui
# The test presets fail a run that selects no test and write JUnit reports
# under build/.

set(CORVANE_WINE_VERSIONS win98 winxp CACHE STRING "The Windows versions the Windows lanes run as")
get_filename_component(CORVANE_BUILD_ROOT ${CMAKE_BINARY_DIR} DIRECTORY)
set(CORVANE_CTEST_SUITE ${PROJECT_SOURCE_DIR}/tools/lib/ctest-suite)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(CORVANE_TREE_ARCH win64)
else()
  set(CORVANE_TREE_ARCH win32)
endif()
set(CORVANE_TREE_ENV CORVANE_BUILD=${CORVANE_BUILD_ROOT})
if(CORVANE_WINDOWS)
  list(APPEND CORVANE_TREE_ENV CORVANE_TREE_BIN=${CMAKE_BINARY_DIR}/bin
                               CORVANE_TREE_ARCH=${CORVANE_TREE_ARCH})
endif()

# corvane_suite_test(<name> LANE <lane> [LABELS ...] [TIMEOUT s] ARGS ...)
function(corvane_suite_test name)
  cmake_parse_arguments(A "" "LANE;TIMEOUT" "LABELS;ARGS" ${ARGN})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 1200)
  endif()
  add_test(NAME ${name} COMMAND ${CORVANE_CTEST_SUITE} ${A_ARGS})
  set_tests_properties(${name} PROPERTIES
    LABELS "${A_LANE};${A_LABELS}"
    TIMEOUT ${A_TIMEOUT}
    RESOURCE_LOCK lane-${A_LANE}
    ENVIRONMENT "${CORVANE_TREE_ENV};CORVANE_SUITE_TEST=${name}")
  if(A_LANE MATCHES "^wine-(.*)")
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED lane-${CMAKE_MATCH_1})
  endif()
  # Within a lane, in the order of registration.
  get_property(previous GLOBAL PROPERTY CORVANE_LANE_LAST_${A_LANE})
  if(previous)
    set_tests_properties(${name} PROPERTIES DEPENDS ${previous})
  endif()
  set_property(GLOBAL PROPERTY CORVANE_LANE_LAST_${A_LANE} ${name})
endfunction()

function(corvane_register_native_suites)
  # The unit tests, then the hooks of tools/suites.d in the order of their
  # file names.
  corvane_suite_test(unit-native LANE native LABELS unit TIMEOUT 1000 ARGS native unit-native)
  # From the tree's top: a build whose compiler saw the sources by relative
  # paths (ccache's base folder) finds the program's movie through them.
  set_tests_properties(unit-native PROPERTIES WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  corvane_suite_test(bench-check LANE native LABELS setup TIMEOUT 300
                     ARGS hook native-bench-check.sh bench-check)
  corvane_suite_test(ctest-rows LANE native LABELS setup TIMEOUT 300
                     ARGS hook native-ctest-rows.sh ctest-rows)
  corvane_suite_test(fuzz-driver LANE native LABELS fuzz TIMEOUT 300
                     ARGS hook native-fuzz-driver.sh fuzz-driver)
  get_property(fuzz_targets GLOBAL PROPERTY CORVANE_FUZZ_TARGETS)
  list(SORT fuzz_targets)
  foreach(target IN LISTS fuzz_targets)
    corvane_suite_test(fuzz-${target} LANE native LABELS fuzz TIMEOUT 300
                       ARGS hook native-fuzz.sh fuzz-${target})
  endforeach()
  # These two read the Windows tree (build/win32, or build/win64 for help):
  # build it first.
  corvane_suite_test(imports-checker LANE native LABELS imports TIMEOUT 300
                     ARGS hook native-imports.sh imports-checker)
  corvane_suite_test(imports-win32 LANE native LABELS imports TIMEOUT 300
                     ARGS hook native-imports.sh imports-win32)
  corvane_suite_test(setup-retries LANE native LABELS setup TIMEOUT 300
                     ARGS hook native-setup.sh setup-retries)
  corvane_suite_test(help-chm LANE native LABELS help TIMEOUT 300
                     ARGS hook native-shell-help.sh help-chm)
endfunction()

function(corvane_register_windows_suites)
  foreach(v IN LISTS CORVANE_WINE_VERSIONS)
    set(lane wine-${v})
    add_test(NAME lane-setup-${v} COMMAND ${CORVANE_CTEST_SUITE} lane-setup ${v})
    set_tests_properties(lane-setup-${v} PROPERTIES
      FIXTURES_SETUP lane-${v} RESOURCE_LOCK lane-${lane} LABELS ${lane} TIMEOUT 300
      ENVIRONMENT "${CORVANE_TREE_ENV};CORVANE_SUITE_TEST=lane-setup-${v}")
    corvane_suite_test(windows-${v} LANE ${lane} LABELS unit ARGS windows ${v} windows-${v})
    # The Windows tests, then the hooks of tools/suites.d in the order of
    # their file names.
    corvane_suite_test(gui-restart-${v} LANE ${lane} LABELS gui restart TIMEOUT 300
                       ARGS hook wine-gui-restart.sh gui-restart-${v} ${v})
    corvane_suite_test(gui-${v} LANE ${lane} LABELS gui TIMEOUT 2000 ARGS hook wine-gui.sh gui-${v} ${v})
    if(v STREQUAL "winxp")
      # Later Windows, run once, in the NT family's lane.
      corvane_suite_test(windows-win10 LANE ${lane} LABELS later wine-win10
                         ARGS hook wine-later.sh windows-win10 ${v})
      corvane_suite_test(gui-win10 LANE ${lane} LABELS later gui wine-win10
                         ARGS hook wine-later.sh gui-win10 ${v})
      corvane_suite_test(gui-exit-heap-win10 LANE ${lane} LABELS later gui wine-win10
                         ARGS hook wine-later.sh gui-exit-heap-win10 ${v})
    endif()
    corvane_suite_test(mtu-netns-${v} LANE ${lane} LABELS netns
                       ARGS hook wine-mtu-netns.sh mtu-netns-${v} ${v})
    corvane_suite_test(mtu-netns-gui-${v} LANE ${lane} LABELS netns gui
                       ARGS hook wine-mtu-netns.sh mtu-netns-gui-${v} ${v})
    corvane_suite_test(netns-${v} LANE ${lane} LABELS netns
                       ARGS hook wine-netns.sh netns-${v} ${v})
    corvane_suite_test(netns-gui-${v} LANE ${lane} LABELS netns gui
                       ARGS hook wine-netns.sh netns-gui-${v} ${v})
    corvane_suite_test(package-${v} LANE ${lane} LABELS package
                       ARGS hook wine-package.sh package-${v} ${v})
    corvane_suite_test(installer-${v} LANE ${lane} LABELS package
                       ARGS hook wine-package.sh installer-${v} ${v})
    # The regions share one prefix whose server stays up between them: one
    # test for all of them (a summary row each).
    corvane_suite_test(regional-${v} LANE ${lane} LABELS regional TIMEOUT 2400
                       ARGS hook wine-regional.sh "regional-${v}-*" ${v})
    corvane_suite_test(restart-${v} LANE ${lane} LABELS restart TIMEOUT 300
                       ARGS hook wine-restart.sh restart-${v} ${v})
  endforeach()
endfunction()
