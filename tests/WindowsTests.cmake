# The tests that apply to Windows, run under Wine: the core, the settings, the command-line
# tool and its reliability, and the Windows file system's own cases. The window, PulseAudio,
# the package and the POSIX-only cases (FIFOs, modes, another user) stay on Linux.
brivane_test(conversion_tests
  SOURCES conversion/RescaleDelaysTest.cpp conversion/ConvertCommandTest.cpp conversion/ConversionTest.cpp
  LIBS brivane_conversion)

brivane_test(playback_tests SOURCES playback/SongRendererTest.cpp LIBS brivane_playback)

brivane_test(settings_tests SOURCES settings/IniLoadTest.cpp settings/IniEditTest.cpp LIBS brivane_settings)

brivane_test(cli_tests SOURCES cli/CliTest.cpp cli/NothingLostTest.cpp LIBS brivane_playback)
add_dependencies(cli_tests brivane-cli)

add_executable(settings_save_loop reliability/SettingsSaveLoop.cpp)
target_link_libraries(settings_save_loop PRIVATE brivane_settings)
add_executable(file_holder support/FileHolder.cpp)
target_link_options(file_holder PRIVATE -municode)

# Under Wine each run costs a process start of its own; fewer kills still reach every step.
brivane_test(reliability_tests
  SOURCES reliability/CrashSafetyTest.cpp reliability/ConcurrencyTest.cpp
  LIBS brivane_conversion brivane_settings
  ENVIRONMENT "BRIVANE_CRASH_TRIALS=30")
add_dependencies(reliability_tests brivane-cli settings_save_loop file_holder)
target_compile_definitions(reliability_tests PRIVATE BRIVANE_SAVE_LOOP_PATH="$<TARGET_FILE:settings_save_loop>"
                                                     BRIVANE_HOLDER_PATH="$<TARGET_FILE:file_holder>")

brivane_test(platform_tests
  SOURCES platform/WindowsFileSystemTest.cpp
  LIBS brivane_conversion brivane_settings)
add_dependencies(platform_tests brivane-cli file_holder)
target_compile_definitions(platform_tests PRIVATE BRIVANE_HOLDER_PATH="$<TARGET_FILE:file_holder>")

brivane_test(capture_tests SOURCES capture/CaptureReaderTest.cpp capture/CaptureSongTest.cpp LIBS brivane_songfile ZLIB::ZLIB)
add_dependencies(capture_tests brivane-cli)

brivane_test(songfile_tests SOURCES songfile/SongFileTest.cpp songfile/OutputGateTest.cpp LIBS brivane_songfile)
add_dependencies(songfile_tests brivane-cli)

brivane_test(games_tests SOURCES games/GameFileTest.cpp games/KeenAudioTest.cpp LIBS brivane_games)
add_dependencies(games_tests brivane-cli)

brivane_test(midi_tests SOURCES midi/MidiTest.cpp LIBS brivane_conversion)
add_dependencies(midi_tests brivane-cli)

brivane_test(ui_shared_tests SOURCES ui/shared/MainWindowControllerTest.cpp ui/shared/TextFittingTest.cpp
             ui/shared/GameMusicControllerTest.cpp LIBS brivane_ui_shared)

# The Win32 window, on the Xvfb and window manager that ./test.sh --windows starts; one
# window test at a time, since they share the display and its focus.
add_executable(window_tests ui/win32/WindowTest.cpp)
target_link_libraries(window_tests PRIVATE brivane_test_support GTest::gtest_main brivane_ui_win32)
gtest_discover_tests(window_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES RESOURCE_LOCK display)
