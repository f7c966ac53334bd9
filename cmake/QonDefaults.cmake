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

# A GoogleTest executable registered with ctest. PROPERTIES go to every test found in it.
# With DISCOVER_WHEN_TESTED, the tests are listed when ctest starts rather than after the
# build: for tests made from files that the build may change without relinking.
function(qon_test name)
  cmake_parse_arguments(ARG "DISCOVER_WHEN_TESTED" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  qon_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  # Tests run headless: the env launcher carries the drivers into both the test
  # discovery and every test run (ENVIRONMENT lists do not survive discovery).
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "/usr/bin/env;SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;QT_QPA_PLATFORM=offscreen")
  include(GoogleTest)
  set(mode POST_BUILD)
  if(ARG_DISCOVER_WHEN_TESTED)
    set(mode PRE_TEST)
  endif()
  set(properties)
  if(ARG_PROPERTIES)
    set(properties PROPERTIES ${ARG_PROPERTIES})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_PREFIX "${name}." DISCOVERY_MODE ${mode}
                       NO_PRETTY_VALUES ${properties})
endfunction()
