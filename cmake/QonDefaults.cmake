# Per-target defaults: warnings, optional -Werror and optional sanitizers.
# Every project target calls qon_defaults() instead of setting global flags.
function(qon_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(QON_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(QON_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# A GoogleTest executable registered with ctest.
function(qon_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  qon_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  # Tests run headless: the env launcher carries the drivers into both the test
  # discovery and every test run (ENVIRONMENT lists do not survive discovery).
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "/usr/bin/env;SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;QT_QPA_PLATFORM=offscreen")
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_PREFIX "${name}." NO_PRETTY_VALUES)
endfunction()
