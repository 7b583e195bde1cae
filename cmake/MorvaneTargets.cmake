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
# Linux release builds are optimised across units at link time: the frame's calls into the
# engine and the engine's into its filters and glides then cost a host less. Every program links
# this way (GCC does so for any object that carries the intermediate code); the objects keep
# their ordinary code too, so that an archive needs no plug-in-aware archiver. Not for Windows:
# mingw's linker takes the thunks of virtual destructors that several units emit for the same
# class as multiple definitions when they come from intermediate code.
option(MORVANE_LTO "Link-time optimisation in Linux release builds" ON)
if(MORVANE_LTO AND NOT WIN32 AND CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT MORVANE_SANITIZE
   AND NOT MORVANE_COVERAGE AND NOT MORVANE_TSAN AND NOT MORVANE_FUZZ)
  target_compile_options(morvane_options INTERFACE -flto=auto -ffat-lto-objects)
  # At the link GCC looks again at the string copies it has inlined from the standard library
  # and reports bounds that no call can reach (known false positives of GCC 12's LTO).
  target_link_options(morvane_options INTERFACE -flto=auto -Wno-stringop-overflow
    -Wno-stringop-overread)
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
