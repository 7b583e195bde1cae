# Common compile settings and helpers for the project's own targets.

find_program(MORVANE_CCACHE ccache)
if(MORVANE_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${MORVANE_CCACHE})
endif()

find_package(Threads REQUIRED)

add_library(morvane_options INTERFACE)
target_link_libraries(morvane_options INTERFACE Threads::Threads)
target_compile_options(morvane_options INTERFACE -Wall -Wextra)
if(MORVANE_WERROR)
  target_compile_options(morvane_options INTERFACE -Werror)
endif()
if(MORVANE_SANITIZE)
  target_compile_options(morvane_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(morvane_options INTERFACE -fsanitize=address,undefined)
  # The standard library checks its own preconditions too (ranges, clamp bounds, indexes).
  target_compile_definitions(morvane_options INTERFACE _GLIBCXX_ASSERTIONS)
endif()
if(MORVANE_COVERAGE)
  target_compile_options(morvane_options INTERFACE --coverage -fprofile-update=atomic -fno-inline)
  target_link_options(morvane_options INTERFACE --coverage)
endif()
if(WIN32)
  # Windows XP-era APIs are enough; keep <windows.h> lean where it is used.
  target_compile_definitions(morvane_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

# morvane_library(name SOURCES ... [DEPS ...])
# A static library of the project, including from src/ so that headers read as "kel/...".
function(morvane_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC morvane_options ${ARG_DEPS})
endfunction()

if(MORVANE_TESTS)
  if(CMAKE_CROSSCOMPILING)
    # Debian ships GoogleTest as sources; build them with the cross compiler.
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
endif()

if(WIN32 AND CMAKE_CROSSCOMPILING)
  # Tests run under wine with a private prefix inside the build folder.
  set(MORVANE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
    @ONLY)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
endif()

# morvane_test(name SOURCES ... DEPS ... [PROPERTIES name value ...])
# One GoogleTest executable. Natively every test case is its own ctest entry; under wine the
# executable is one entry, since starting a Windows process per case would dominate the run.
# PROPERTIES are further ctest properties of every entry.
function(morvane_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE morvane_options ${ARG_DEPS} GTest::gmock GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    if(ARG_PROPERTIES)
      set_tests_properties(${name} PROPERTIES ${ARG_PROPERTIES})
    endif()
  else()
    # The plug-in keeps per-user values (autoload, MIDI layout) in the user's configuration
    # folder: tests use one of their own, so neither the developer's settings change the results
    # nor the tests change the developer's settings. Tests that need an empty one make their own.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "XDG_CONFIG_HOME=${PROJECT_BINARY_DIR}/test-config" ${ARG_PROPERTIES})
  endif()
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/MorvaneResources.cmake)
