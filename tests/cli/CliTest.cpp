#include "playback/PlayableSong.h"
#include "playback/SongRenderer.h"
#include "playback/WavFile.h"
#include "support/Process.h"
#include "support/Songs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace brivane {
namespace {

using test::Bytes;
using test::ProcessResult;

using test::RunCli;

TEST(CliTest, ConvertsRealSizedSongsByteForByte)
{
    test::TempDir dir;
    std::vector<std::string> arguments{"convert", "--tics", "560"};
    std::vector<Bytes> songs;
    for (std::uint32_t i = 0; i < 4; ++i) {
        songs.push_back(test::MakeHeaderlessSong(20000 + i * 13331, i));
        test::WriteBytes(dir / ("song" + std::to_string(i) + ".imf"), songs.back());
        arguments.push_back(dir / ("song" + std::to_string(i) + ".imf"));
    }
    const ProcessResult result = RunCli(arguments);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, "Complete: Conversion complete!\n4 converted\n");
    EXPECT_EQ(result.Err, "");
    for (std::uint32_t i = 0; i < 4; ++i) {
        const std::string path = dir / ("song" + std::to_string(i) + ".imf");
        EXPECT_EQ(test::ReadBytes(path), test::ReferenceConversion(songs[i], 560)) << path;
        EXPECT_EQ(test::ReadBytes(path + ".bak"), songs[i]);
    }
}

TEST(CliTest, PrintsEveryMessageAndSetsTheExitStatus)
{
    test::TempDir dir;
    const Bytes original{0, 0, 0, 0, 0x20, 1, 3, 0};
    test::WriteBytes(dir / "a.imf", original);

    ProcessResult first = RunCli({"convert", "--no-backup", dir / "a.imf", dir / "missing.imf"});
    EXPECT_EQ(first.ExitCode, 1);
    EXPECT_EQ(first.Out, "Complete: Conversion complete!\n1 converted, 1 not found\n");
    EXPECT_EQ(first.Err, "File not found: Could not find " + dir / "missing.imf" + "!\n");
    EXPECT_FALSE(test::Exists(dir / "a.imf.bak"));

    ProcessResult again = RunCli({"convert", dir / "a.imf"});
    EXPECT_EQ(again.ExitCode, 0);
    EXPECT_EQ(again.Out, "Already compatible: a.imf is already compatible with Wolfenstein 3D.\n"
                         "Complete: Conversion complete!\n1 already compatible\n");
}

TEST(CliTest, TheReconvertQuestionIsAnsweredByTheFlagsOrNoWithoutATerminal)
{
    test::TempDir dir;
    const Bytes original{0, 0, 0, 0, 0x20, 1, 3, 0};
    test::WriteBytes(dir / "a.imf", original);
    ASSERT_EQ(RunCli({"convert", "--tics", "280", dir / "a.imf"}).ExitCode, 0);
    const std::string question = "Reconvert?: a.imf is already compatible with Wolfenstein 3D.\n"
                                 "Do you wish to revert to your backup copy and reconvert it?";

    for (const std::string flag : {"", "--no"}) {
        std::vector<std::string> arguments{"convert", "--tics", "700"};
        if (!flag.empty())
            arguments.push_back(flag);
        arguments.push_back(dir / "a.imf");
        const ProcessResult declined = RunCli(arguments);
        EXPECT_EQ(declined.ExitCode, 0);
        EXPECT_EQ(declined.Out, question + " no\nComplete: Conversion complete!\n1 not reverted\n") << flag;
        EXPECT_EQ(test::ReadBytes(dir / "a.imf"), (Bytes{8, 0, 0, 0, 0, 0, 0x20, 1, 8, 0}));
    }

    const ProcessResult accepted = RunCli({"convert", "--tics", "700", "--yes", dir / "a.imf"});
    EXPECT_EQ(accepted.ExitCode, 0);
    EXPECT_EQ(accepted.Out, question + " yes\nComplete: Conversion complete!\n1 converted\n");
    EXPECT_EQ(test::ReadBytes(dir / "a.imf"), (Bytes{8, 0, 0, 0, 0, 0, 0x20, 1, 3, 0}));

    // A backup that is itself converted is not offered: restoring it would lose the song.
    const Bytes song = test::ReadBytes(dir / "a.imf");
    test::WriteBytes(dir / "a.imf.bak", song);
    const ProcessResult looping = RunCli({"convert", "--yes", dir / "a.imf"});
    EXPECT_EQ(looping.ExitCode, 0);
    EXPECT_EQ(looping.Out, "Already compatible: a.imf is already compatible with Wolfenstein 3D.\n"
                           "Its backup a.imf.bak cannot be restored: it is already compatible with Wolfenstein 3D itself.\n"
                           "Complete: Conversion complete!\n1 already compatible\n");
    EXPECT_EQ(test::ReadBytes(dir / "a.imf"), song);
}

TEST(CliTest, InfoDescribesEachLayout)
{
    test::TempDir dir;
    test::WriteBytes(dir / "dn2.imf", {0, 0, 0, 0, 1, 2, 140, 0, 3, 4, 0});  // 2 records, 3 trailing
    test::WriteBytes(dir / "wolf.imf", {8, 0, 0, 0, 0, 0, 1, 2, 0xBC, 2, 9, 9}); // 700 ticks in the word
    const ProcessResult result = RunCli({"info", "--tics", "280", dir / "dn2.imf", dir / "wolf.imf", dir / "none.imf"});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Out,
              dir / "dn2.imf" + ": headerless, 11 bytes, 2 records, 3 trailing bytes, 0.50 seconds at 280 ticks per second\n" +
              dir / "wolf.imf" + ": Wolfenstein 3-D, 12 bytes, 2 records, 0 trailing bytes, 2 bytes after the records, 1.00 seconds at 700 ticks per second\n" +
              dir / "none.imf" + ": missing\n");
}

#ifndef _WIN32 // FIFOs
TEST(CliTest, InfoHandlesTinyFilesAndNamesWhatIsNotAFile)
{
    test::TempDir dir;
    const std::vector<std::pair<Bytes, std::string>> tiny{
        {{5}, "Wolfenstein 3-D, 1 byte, 0 records, 0 trailing bytes, 0.00 seconds at 700 ticks per second"},
        {{5, 0}, "Wolfenstein 3-D, 2 bytes, 0 records, 0 trailing bytes, 0.00 seconds at 700 ticks per second; length "
                 "word 5 bytes more than the file holds: perhaps a headerless song without its leading 00 00 record"},
        {{1, 2, 3}, "Wolfenstein 3-D, 3 bytes, 0 records, 1 trailing byte, 0.00 seconds at 700 ticks per second; length "
                    "word 512 bytes more than the file holds: perhaps a headerless song without its leading 00 00 record"},
        {{0, 0, 1}, "headerless, 3 bytes, 0 records, 3 trailing bytes, 0.00 seconds at 280 ticks per second"},
    };
    std::vector<std::string> arguments{"info"};
    std::string expected;
    for (std::size_t i = 0; i < tiny.size(); ++i) {
        arguments.push_back(dir / std::to_string(i));
        test::WriteBytes(arguments.back(), tiny[i].first);
        expected += arguments.back() + ": " + tiny[i].second + "\n";
    }
    ::mkdir((dir / "folder").c_str(), 0777);
    ::mkfifo((dir / "fifo").c_str(), 0666);
    arguments.insert(arguments.end(), {dir / "folder", dir / "fifo"});
    expected += dir / "folder" + ": not a regular file: a directory\n" + dir / "fifo" + ": not a regular file: a FIFO\n";
    const ProcessResult result = RunCli(arguments);
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Out, expected);
}
#endif

TEST(CliTest, YesIsRememberedByFullPathSoSameNamesInTwoFoldersAreBothReverted)
{
    test::TempDir dir;
    const Bytes original{0, 0, 0, 0, 0x20, 1, 3, 0};
    for (const char* folder : {"a", "b"}) {
        std::filesystem::create_directory(test::NativePath(dir / folder));
        test::WriteBytes(dir / folder + "/SONG.IMF", original);
    }
    ASSERT_EQ(RunCli({"convert", dir / "a/SONG.IMF", dir / "b/SONG.IMF"}).ExitCode, 0);
    const ProcessResult reverted = RunCli({"convert", "--yes", "--tics", "700", dir / "a/SONG.IMF", dir / "b/SONG.IMF"});
    const std::string question = "Reconvert?: SONG.IMF is already compatible with Wolfenstein 3D.\n"
                                 "Do you wish to revert to your backup copy and reconvert it?";
    EXPECT_EQ(reverted.Out, question + " yes\n" + question + " yes\nComplete: Conversion complete!\n2 converted\n");
    for (const char* folder : {"a", "b"})
        EXPECT_EQ(test::ReadBytes(dir / folder + "/SONG.IMF"), (Bytes{8, 0, 0, 0, 0, 0, 0x20, 1, 3, 0})) << folder;
}

TEST(CliTest, SeveralJobsGiveTheSameBytesAndTheSameTextAsOne)
{
    // Each run gets a folder of the same mixed songs: converted, already compatible, missing,
    // too long, reverted, and one song named twice.
    auto makeBatch = [](const test::TempDir& dir) {
        std::vector<std::string> files{"convert", "--yes", "--tics", "560"};
        for (int i = 0; i < 40; ++i) {
            const std::string song = dir / ("S" + std::to_string(i) + ".IMF");
            const Bytes original = test::MakeHeaderlessSong(i % 5 == 4 ? 70000 : 2000 + 97 * i, i);
            test::WriteBytes(song, i % 5 == 1 ? test::ReferenceConversion(original, 280) : original);
            if (i % 10 == 1)
                test::WriteBytes(song + ".bak", original);
            files.push_back(i % 5 == 3 ? song + ".missing" : song);
        }
        files.push_back(dir / "S0.IMF");
        return files;
    };
    test::TempDir serialDir, parallelDir;
    std::vector<std::string> serial = makeBatch(serialDir);
    std::vector<std::string> parallel = makeBatch(parallelDir);
    serial.insert(serial.begin() + 1, {"--jobs", "1"});
    parallel.insert(parallel.begin() + 1, {"--jobs", "4"});
    ProcessResult one = RunCli(serial);
    ProcessResult four = RunCli(parallel);

    auto samePaths = [&](std::string text) {
        for (std::size_t at; (at = text.find(parallelDir.Path())) != std::string::npos;)
            text.replace(at, parallelDir.Path().size(), serialDir.Path());
        return text;
    };
    EXPECT_EQ(one.ExitCode, 1);
    EXPECT_EQ(four.ExitCode, one.ExitCode);
    EXPECT_EQ(samePaths(four.Out), one.Out);
    EXPECT_EQ(samePaths(four.Err), one.Err);
    EXPECT_NE(one.Out.find(" yes\n"), std::string::npos);
    ASSERT_EQ(serialDir.Names(), parallelDir.Names());
    for (const std::string& name : serialDir.Names())
        EXPECT_EQ(test::ReadBytes(parallelDir / name), test::ReadBytes(serialDir / name)) << name;
}

TEST(CliTest, RenderWritesTheRenderersSamplesAsAWav)
{
    test::TempDir dir;
    test::WriteBytes(dir / "note.imf", test::MakeHeldNoteSong(140, 14));
    SongRenderer renderer(ParsePlayableSong(test::MakeHeldNoteSong(140, 14)).Writes, 560, 22050);
    std::vector<std::int16_t> samples(SongRenderer::SamplesFor(154, 560, 22050));
    ASSERT_EQ(renderer.Render(samples), samples.size());
    const Bytes expected = MakeWav(samples, 22050);

    for (const std::vector<std::string>& rate : {std::vector<std::string>{"--tics", "560"}, {"--game", "keen"}}) {
        std::vector<std::string> arguments{"render", dir / "note.imf", "--sample-rate", "22050", "-o", dir / "out.wav"};
        arguments.insert(arguments.begin() + 1, rate.begin(), rate.end());
        const ProcessResult result = RunCli(arguments);
        EXPECT_EQ(result.ExitCode, 0) << result.Err;
        EXPECT_EQ(test::ReadBytes(dir / "out.wav"), expected) << rate[0];
    }
    const ProcessResult piped = RunCli({"render", "--tics", "560", "--sample-rate", "22050", dir / "note.imf", "-o", "-"});
    EXPECT_EQ(piped.Out, std::string(expected.begin(), expected.end()));
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"note.imf", "out.wav"})) << "no temporary file is left";
    // The null device, by the name each system gives it, is written into as a stream.
#ifdef _WIN32
    for (const char* null : {"NUL", "nul"}) {
#else
    for (const char* null : {"/dev/null"}) {
#endif
        const ProcessResult nowhere = RunCli({"render", dir / "note.imf", "-o", null});
        EXPECT_EQ(nowhere.ExitCode, 0) << null << ": " << nowhere.Err;
    }
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"note.imf", "out.wav"}));

    const ProcessResult missing = RunCli({"render", dir / "gone.imf", "-o", dir / "gone.wav"});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_EQ(missing.Err, "File not found: Could not find " + dir / "gone.imf" + "!\n");
    EXPECT_FALSE(test::Exists(dir / "gone.wav"));
}

TEST(CliTest, ASongAndItsConversionRenderToTheSameLengthWithinHalfATickARecord)
{
    test::TempDir dir;
    Bytes song = test::MakeHeaderlessSong(2000, 9);
    for (std::size_t at = 2; at + 1 < song.size(); at += 4) {
        song[at] %= 64; // a song of a minute, not of hours
        song[at + 1] = 0;
    }
    test::WriteBytes(dir / "dn2.imf", song);
    ASSERT_EQ(RunCli({"render", "--game", "duke2", dir / "dn2.imf", "-o", dir / "before.wav"}).ExitCode, 0);
    ASSERT_EQ(RunCli({"convert", "--game", "duke2", dir / "dn2.imf"}).ExitCode, 0);
    ASSERT_EQ(RunCli({"render", dir / "dn2.imf", "-o", dir / "after.wav"}).ExitCode, 0);

    const double before = static_cast<double>(test::ReadBytes(dir / "before.wav").size() - 44) / 2;
    const double after = static_cast<double>(test::ReadBytes(dir / "after.wav").size() - 44) / 2;
    const double records = 500;
    const double halfTickEach = records * 0.5 * 44100 / 700;
    RecordProperty("length_difference_samples", std::to_string(after - before));
    EXPECT_LE(std::abs(after - before), halfTickEach) << before << " against " << after << " samples";
}

TEST(CliTest, UsageErrorsExitWithTwoAndOneLine)
{
    const std::vector<std::vector<std::string>> bad{
        {}, {"convert"}, {"frobnicate", "x"}, {"convert", "--tics", "99", "x"}, {"convert", "--tics", "701", "x"},
        {"convert", "--tics", "abc", "x"}, {"convert", "--tics"}, {"convert", "--colour", "x"}, {"info", "--yes", "x"},
        {"convert", "--jobs", "0", "x"}, {"convert", "--jobs", "65", "x"}, {"convert", "--jobs"}, {"info", "--jobs", "2", "x"},
        {"render", "x"}, {"render", "x", "y", "-o", "z"}, {"render", "--sample-rate", "7999", "x", "-o", "z"},
        {"render", "--sample-rate", "192001", "x", "-o", "z"}, {"render", "--emulator", "kemu", "x", "-o", "z"},
        {"convert", "--game", "doom", "x"}, {"info", "--game", "keen", "--tics", "300", "x"}, {"render", "x", "-o", ""},
        {"convert", "--to", "doom", "x"}, {"convert", "--to", "length:701", "x"}, {"convert", "--to", "headerless:", "x"},
        {"info", "--to", "wolf3d", "x"}, {"convert", "--yes", "--no", "x"}, {"convert", "--no-backup", "--backup", "x"},
        {"convert", "--from", "wolf", "x"}, {"info", "--exact", "x"}};
    for (const auto& arguments : bad) {
        const ProcessResult result = RunCli(arguments);
        EXPECT_EQ(result.ExitCode, 2) << testing::PrintToString(arguments);
        EXPECT_EQ(std::count(result.Err.begin(), result.Err.end(), '\n'), 1) << result.Err;
        EXPECT_EQ(result.Out, "");
    }
    EXPECT_EQ(RunCli({"--version"}).Out, "brivane-cli 1.0.5\n");
    const ProcessResult help = RunCli({"--help"});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_NE(help.Out.find("brivane-cli render [--tics N | --game NAME]"), std::string::npos);
    EXPECT_NE(help.Out.find("not an IMF song, had a length word past"), std::string::npos);
#ifdef _WIN32
    EXPECT_EQ(RunCli({"/?"}).Out, help.Out) << "as Windows' own tools are asked";
#endif

#ifndef _WIN32 // the window comes to Windows later
    // The window program answers these on the terminal, with or without a display.
    const ProcessResult window = test::RunProgram({BRIVANE_APP_PATH, "--version"}, [] { ::unsetenv("DISPLAY"); });
    EXPECT_EQ(window.ExitCode, 0);
    EXPECT_EQ(window.Out, "brivane 1.0.5\n");
    EXPECT_EQ(test::RunProgram({BRIVANE_APP_PATH, "--help"}).Out.rfind("Usage: brivane [--help | --version]\n", 0), 0u);
    for (const char* bogus : {"--bogus", "-bogus"}) {
        const ProcessResult unknown = test::RunProgram({BRIVANE_APP_PATH, bogus}, [] { ::setenv("QT_QPA_PLATFORM", "offscreen", 1); });
        EXPECT_EQ(unknown.ExitCode, 2) << bogus;
        EXPECT_TRUE(unknown.Err.ends_with(std::string("brivane: unknown option '") + bogus + "' (see brivane --help)\n"))
            << unknown.Err;
    }
#endif
}

#ifndef _WIN32 // a terminal of its own, through script(1)
TEST(CliTest, TheProgressLineOnATerminalIsErasedWithSpacesNeverWithEscapeCodes)
{
    test::TempDir dir;
    const std::string longName = std::string(100, 'x') + "\u00E9.imf";
    std::string command = test::CliPath() + " convert";
    for (int i = 0; i < 20; ++i) {
        const std::string name = i == 7 ? longName : "s" + std::to_string(i) + ".imf";
        test::WriteBytes(dir / name, test::MakeHeaderlessSong(400, 3));
        command += " '" + dir / name + "'";
    }
    const ProcessResult run = test::RunProgram({"/usr/bin/script", "-qec", command, dir / "typescript"});
    EXPECT_EQ(run.ExitCode, 0) << run.Out;
    const std::string shown = run.Out;
    EXPECT_NE(shown.find("\rConverting 1/20 s0.imf"), std::string::npos) << shown;
    EXPECT_EQ(shown.find('\033'), std::string::npos) << "no escape code";
    const std::size_t cut = shown.find("\rConverting 8/20 x");
    ASSERT_NE(cut, std::string::npos);
    EXPECT_EQ(shown.find_first_of("\r\n", cut + 1) - cut - 1, 79u) << "cut to the narrowest terminal";
    const std::string last = "Converting 20/20 s19.imf";
    EXPECT_NE(shown.find(last + "\r" + std::string(last.size(), ' ') + "\rComplete: Conversion complete!"), std::string::npos)
        << shown;
}
#endif

#ifdef _WIN32
// A console of its own, as a user's cmd.exe gives it, read back cell by cell: what the console
// shows holds no escape code, whether or not it could have read one.
std::wstring OnAConsole(const std::wstring& arguments)
{
    ::FreeConsole();
    if (!::AllocConsole())
        return L"<no console>";
    const HANDLE screen = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    std::wstring command = L"\"" + test::NativePath(test::CliPath()).wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring shown = L"<not started>";
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, 60000);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        CONSOLE_SCREEN_BUFFER_INFO info{};
        ::GetConsoleScreenBufferInfo(screen, &info);
        shown.assign(static_cast<std::size_t>(info.dwSize.X) * static_cast<std::size_t>(info.dwSize.Y), L' ');
        DWORD read = 0;
        ::ReadConsoleOutputCharacterW(screen, shown.data(), static_cast<DWORD>(shown.size()), {0, 0}, &read);
        shown.resize(read);
    }
    ::CloseHandle(screen);
    ::FreeConsole();
    return shown;
}

TEST(CliTest, AConsoleShowsNoEscapeCodeAndSlashQuestionMarkAsksForHelp)
{
    test::TempDir dir;
    std::wstring songs;
    for (int i = 0; i < 20; ++i) {
        const std::string song = dir / ("s" + std::to_string(i) + ".imf");
        test::WriteBytes(song, test::MakeHeaderlessSong(400, 3));
        songs += L" \"" + test::NativePath(song).wstring() + L"\"";
    }
    const std::wstring converted = OnAConsole(L"convert" + songs);
    EXPECT_NE(converted.find(L"Complete: Conversion complete!"), std::wstring::npos) << test::Utf8Path(converted);
    EXPECT_EQ(converted.find(L'\x1B'), std::wstring::npos) << test::Utf8Path(converted);
    EXPECT_EQ(converted.find(L"[K"), std::wstring::npos) << test::Utf8Path(converted);
    EXPECT_NE(OnAConsole(L"/?").find(L"Usage: brivane-cli convert"), std::wstring::npos);
}
#endif

#ifndef _WIN32 // FIFOs and symbolic links
TEST(CliTest, WhatIsNotASongAndOutputsThatWouldLoseAFileAreRefused)
{
    test::TempDir dir;
    const Bytes song = test::MakeHeldNoteSong(140);
    test::WriteBytes(dir / "song.imf", song);
    test::WriteText(dir / "notes.txt", "keep me");
    ::symlink((dir / "song.imf").c_str(), (dir / "link.wav").c_str());
    ::mkdir((dir / "folder").c_str(), 0777);
    ::mkfifo((dir / "fifo").c_str(), 0666);
    ASSERT_EQ(RunCli({"render", dir / "song.imf", "-o", dir / "old.wav"}).ExitCode, 0);

    struct Case {
        std::vector<std::string> Arguments;
        int ExitCode;
        std::string Err;
    };
    const std::vector<Case> cases{
        {{"render", dir / "song.imf", "-o", dir / "song.imf"}, 2,
         "brivane-cli: the output " + dir / "song.imf" + " is the song itself (see brivane-cli --help)\n"},
        {{"render", "--force", dir / "song.imf", "-o", dir / "link.wav"}, 2,
         "brivane-cli: the output " + dir / "link.wav" + " is the song itself (see brivane-cli --help)\n"},
        {{"render", dir / "song.imf", "-o", dir / "notes.txt"}, 2,
         "brivane-cli: " + dir / "notes.txt" + " exists and is not a WAV file; give --force to replace it (see brivane-cli --help)\n"},
        {{"render", dir / "song.imf", "-o", dir / "old.wav"}, 0, ""},
        {{"render", dir / "folder", "-o", dir / "x.wav"}, 1,
         "File not readable: Could not read " + dir / "folder" + ": not a regular file: a directory\n"},
        {{"convert", dir / "folder", dir / "fifo"}, 1,
         "File not readable: Could not read " + dir / "folder" + ": not a regular file: a directory\n"
         "File not readable: Could not read " + dir / "fifo" + ": not a regular file: a FIFO\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult result = RunCli(c.Arguments);
        EXPECT_EQ(result.ExitCode, c.ExitCode) << c.Arguments.back();
        EXPECT_EQ(result.Err, c.Err);
    }
    EXPECT_EQ(test::ReadBytes(dir / "song.imf"), song);
    EXPECT_EQ(test::ReadText(dir / "notes.txt"), "keep me");
    EXPECT_FALSE(test::Exists(dir / "x.wav"));

    ASSERT_EQ(RunCli({"render", "--force", dir / "song.imf", "-o", dir / "notes.txt"}).ExitCode, 0);
    EXPECT_EQ(test::ReadBytes(dir / "notes.txt"), test::ReadBytes(dir / "old.wav"));
}
#endif

TEST(CliTest, AKeenSongAndItsWolfensteinConversionLastAsLongAndInfoReadsItsTag)
{
    test::TempDir dir;
    Bytes records = test::MakeHeaderlessSong(4 * 6000, 11);
    for (std::size_t at = 2; at < records.size(); at += 4) {
        records[at] %= 7; // about a tick on average, where rounding each delay would drift most
        records[at + 1] = 0;
    }
    Bytes keen(2 + records.size());
    keen[0] = static_cast<std::uint8_t>(records.size() & 0xFF);
    keen[1] = static_cast<std::uint8_t>(records.size() >> 8);
    std::copy(records.begin(), records.end(), keen.begin() + 2);
    for (const char c : std::string("\x1A" "Theme\0Bobby\0from E1\0Muse\0", 26))
        keen.push_back(static_cast<std::uint8_t>(c));
    test::WriteBytes(dir / "keen.imf", keen);

    const ProcessResult info = RunCli({"info", "--game", "keen", dir / "keen.imf"});
    EXPECT_NE(info.Out.find("0 trailing bytes, 26 bytes after the records (tag: title \"Theme\", composer \"Bobby\", "
                            "remarks \"from E1\"), "), std::string::npos) << info.Out;
    EXPECT_NE(info.Out.find("at 560 ticks per second"), std::string::npos) << info.Out;

    ASSERT_EQ(RunCli({"render", "--game", "keen", dir / "keen.imf", "-o", dir / "keen.wav"}).ExitCode, 0);
    const ProcessResult converted = RunCli({"convert", "--game", "keen", "--to", "wolf3d", dir / "keen.imf"});
    ASSERT_EQ(converted.ExitCode, 0) << converted.Err;
    EXPECT_EQ(converted.Out, "Complete: Conversion complete!\n1 converted\n");
    const Bytes wolf = test::ReadBytes(dir / "keen.imf");
    EXPECT_TRUE(std::equal(keen.end() - 26, keen.end(), wolf.end() - 26)) << "the tag is kept";
    ASSERT_EQ(RunCli({"render", dir / "keen.imf", "-o", dir / "wolf.wav"}).ExitCode, 0);

    const auto samples = [&](const char* name) { return static_cast<double>(test::ReadBytes(dir / name).size() - 44) / 2; };
    const double difference = samples("wolf.wav") - samples("keen.wav");
    RecordProperty("length_difference_samples", std::to_string(difference));
    EXPECT_LE(std::abs(difference), 32) << "half a tick at 700, whatever the song's length";

    // Unless told it is Keen's, a song with a length word is taken at 700: so is the backup.
    const ProcessResult again = RunCli({"convert", "--to", "wolf3d", dir / "keen.imf"});
    EXPECT_EQ(again.Out, "Already compatible: keen.imf is already compatible with Wolfenstein 3D.\n"
                         "Its backup keen.imf.bak cannot be restored: it is already compatible with Wolfenstein 3D itself.\n"
                         "Complete: Conversion complete!\n1 already compatible\n");
}

} // namespace
} // namespace brivane
