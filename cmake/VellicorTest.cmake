# One GoogleTest program per area: vlh_add_test(name SOURCES ... LIBS ...).
# Tests are discovered when CTest runs, so building stays cheap.

# Every test runs hermetically and against a clock, whatever the shell it is
# started from holds:
# - no display: a window that waits for input would hang the suite (the
#   dialog tests start an X server of their own, scripts/with-xvfb);
# - a home and XDG folders of their own under the build folder, so no test
#   reads or writes the user's own settings;
# - under wine (the Windows build) the environment stays: the tests keep the
#   X server scripts/test-windows gives them, and their registry is the
#   prefix's in the build folder;
# - a timeout, so a test that waits for anything fails instead of hanging.
# The longest test (the endurance run) takes about 20 s; under the sanitizers
# everything runs several times slower.
if(VLH_SANITIZE)
  set(VLH_TEST_TIMEOUT 900)
else()
  set(VLH_TEST_TIMEOUT 180)
endif()

# The environment of the tests named `test_name`, as a list in `out`.
function(vlh_test_environment out test_name)
  if(WIN32)
    # Under wine: the prefix in the build folder holds the registry, and
    # scripts/test-windows gives the tests their X server.
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  set(home ${CMAKE_BINARY_DIR}/test-homes/${test_name})
  file(MAKE_DIRECTORY ${home}/.config ${home}/.cache ${home}/.local/share ${home}/.local/state)
  set(${out}
      HOME=set:${home}
      XDG_CONFIG_HOME=set:${home}/.config
      XDG_CACHE_HOME=set:${home}/.cache
      XDG_DATA_HOME=set:${home}/.local/share
      XDG_STATE_HOME=set:${home}/.local/state
      DISPLAY=unset:
      WAYLAND_DISPLAY=unset:
      PARENT_SCOPE)
endfunction()

# Makes every test added with add_test() in the current folder hermetic; a
# folder that uses vlh_add_test gets this at its end by itself.
function(vlh_hermetic_folder)
  get_directory_property(tests TESTS)
  foreach(test ${tests})
    vlh_test_environment(environment ${test})
    set_tests_properties(${test} PROPERTIES TIMEOUT ${VLH_TEST_TIMEOUT} ENVIRONMENT_MODIFICATION "${environment}")
  endforeach()
endfunction()

function(vlh_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  # The Windows build makes its own GoogleTest (windows/).
  if(NOT TARGET GTest::gtest)
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  vlh_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
  # The discovered tests are known only when CTest runs: a script CTest reads
  # after the discovery's own makes them hermetic. (A list value does not pass
  # through gtest_discover_tests' PROPERTIES intact.)
  vlh_test_environment(environment ${name})
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}_hermetic.cmake)
  file(CONFIGURE OUTPUT ${script} CONTENT [=[
if(@name@_TESTS)
  set_tests_properties(${@name@_TESTS} PROPERTIES TIMEOUT @VLH_TEST_TIMEOUT@
                       ENVIRONMENT_MODIFICATION [==[@environment@]==])
endif()
]=] @ONLY)
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
  # And the folder's other tests, once the folder has added them all.
  cmake_language(DEFER GET_CALL_IDS deferred)
  if(NOT vlh_hermetic_folder IN_LIST deferred)
    cmake_language(DEFER ID vlh_hermetic_folder CALL vlh_hermetic_folder)
  endif()
endfunction()
