# The Windows build: the core, the command-line tool, the OPL emulators as a DLL of their own,
# and the tests that apply to Windows, run under Wine. No Qt for Windows exists here.
enable_language(C)
set(BRIVANE_ADPLUG_SOURCE "" CACHE PATH "AdPlug's unpacked source (scripts/fetch-adplug-source.sh)")
if(NOT EXISTS "${BRIVANE_ADPLUG_SOURCE}/src/nukedopl.c")
  message(FATAL_ERROR "Set BRIVANE_ADPLUG_SOURCE to AdPlug's source, as ./test.sh --windows does")
endif()

# Wide Windows calls throughout, Windows 7 and later.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# A prefix of its own in the build folder, so that tests never touch the user's Wine.
set(BRIVANE_WINEPREFIX ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env WINEPREFIX=${BRIVANE_WINEPREFIX} WINEDEBUG=-all wine)

include(cmake/AdPlugEmulators.cmake)
brivane_add_core_rooms()
add_subdirectory(src/playback)
add_subdirectory(src/cli)
add_subdirectory(src/ui/shared)
add_subdirectory(src/ui/win32)
add_subdirectory(dist/windows)

if(BRIVANE_TESTS)
  # Debian's GoogleTest sources, built with this toolchain; they define GTest::gtest themselves.
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  enable_testing()
  add_subdirectory(tests)
endif()
