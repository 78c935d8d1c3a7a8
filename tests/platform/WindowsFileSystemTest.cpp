// What only Windows does to a conversion: programs that hold songs, attributes, names the
// system reserves, long paths and the settings file's two encodings. Real files and real
// processes, under Wine.
#include "platform/StoredPaths.h"
#include "settings/clsINI.h"
#include "support/FileHolder.h"
#include "support/Process.h"
#include "support/RecordingInteraction.h"
#include "support/Songs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace brivane {
namespace {

using test::Bytes;
using test::ProcessResult;

const Bytes kSong = test::MakeHeaderlessSong(4000, 7);

ProcessResult Convert(const std::vector<std::string>& songs)
{
    std::vector<std::string> argv{test::CliPath(), "convert", "--backup"};
    argv.insert(argv.end(), songs.begin(), songs.end());
    return test::RunProgram(argv);
}

std::wstring Wide(const std::string& path)
{
    return test::NativePath(path).wstring();
}

DWORD Attributes(const std::string& path)
{
    return ::GetFileAttributesW(Wide(path).c_str());
}

struct HeldCase {
    const char* How; // as the file holder takes it
    int HoldMs;
    std::string Error; // after the song's path; empty when the song is converted
};

TEST(WindowsFileSystemTest, ASongAnotherProgramHoldsIsWaitedForAboutASecondThenReportedUntouched)
{
    const HeldCase cases[] = {
        {"open", 700, ""},
        {"open", 10000, ": could not replace the converted file: it is in use by another program; nothing was changed"},
        {"exclusive", 700, ""},
        {"exclusive", 10000, ": it is in use by another program"},
    };
    for (const HeldCase& c : cases) {
        SCOPED_TRACE(std::string(c.How) + " for " + std::to_string(c.HoldMs) + " ms");
        test::TempDir dir, scratch;
        test::WriteBytes(dir / "held.imf", kSong);
        test::WriteBytes(dir / "free.imf", kSong);
        const test::ProgramId holder = test::StartHolding(c.How, dir / "held.imf", c.HoldMs, scratch);
        const ProcessResult result = Convert({dir / "held.imf", dir / "free.imf"});
        test::KillProgram(holder);

        const bool converted = c.Error.empty();
        EXPECT_EQ(test::ReadBytes(dir / "free.imf"), test::ReferenceConversion(kSong, 280)) << "the batch goes on";
        EXPECT_EQ(test::ReadBytes(dir / "held.imf"), converted ? test::ReferenceConversion(kSong, 280) : kSong);
        EXPECT_EQ(test::Exists(dir / "held.imf.bak"), converted) << "a backup made for nothing is taken away";
        EXPECT_EQ(result.ExitCode, converted ? 0 : 1);
        const std::string title = c.How == std::string("open") ? "Conversion failed: Could not convert "
                                                               : "File in use: Could not read ";
        EXPECT_EQ(result.Err, converted ? "" : title + dir / "held.imf" + c.Error + "\n");
        EXPECT_EQ(dir.Names().size(), converted ? 4u : 3u) << "no temporary file is left";
    }
}

struct RefusalCase {
    const char* Name;
    std::string Song;
    void (*Prepare)(const std::string& song);
    std::string Reason; // after "Could not convert SONG: " or "Could not read SONG: "
};

TEST(WindowsFileSystemTest, WhatWindowsForbidsIsRefusedWithTheReasonAndNothingChanges)
{
    const RefusalCase cases[] = {
        {"a read-only song", "song.imf",
         [](const std::string& song) { ::SetFileAttributesW(Wide(song).c_str(), FILE_ATTRIBUTE_READONLY); },
         "Conversion failed: Could not convert %: could not write the converted file: it is read-only"},
        {"a backup that is a directory", "song.imf",
         [](const std::string& song) { ::CreateDirectoryW(Wide(song + ".bak").c_str(), nullptr); },
         "Conversion failed: Could not convert %: could not write the backup %.bak: it is a directory; Brivane writes "
         "backups only as regular files"},
        {"a device name", "CON", nullptr,
         "File not readable: Could not read %: Windows keeps this name for a device (CON, PRN, AUX, NUL, CONIN$, "
         "CONOUT$, COM1 to COM9, LPT1 to LPT9)"},
        {"a device name with an extension", "lpt1.imf", nullptr,
         "File not readable: Could not read %: Windows keeps this name for a device (CON, PRN, AUX, NUL, CONIN$, "
         "CONOUT$, COM1 to COM9, LPT1 to LPT9)"},
        {"the console's input", "CONIN$", nullptr,
         "File not readable: Could not read %: Windows keeps this name for a device (CON, PRN, AUX, NUL, CONIN$, "
         "CONOUT$, COM1 to COM9, LPT1 to LPT9)"},
        {"a port with a superscript digit", "COM\u00B9.imf", nullptr,
         "File not readable: Could not read %: Windows keeps this name for a device (CON, PRN, AUX, NUL, CONIN$, "
         "CONOUT$, COM1 to COM9, LPT1 to LPT9)"},
        {"a trailing dot", "song.imf.", nullptr,
         "File not readable: Could not read %: Windows does not keep a name that ends in a dot or a space"},
        {"a trailing space", "song.imf ", nullptr,
         "File not readable: Could not read %: Windows does not keep a name that ends in a dot or a space"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.Name);
        test::TempDir dir;
        const std::string song = dir / c.Song;
        test::WriteBytes(dir / "song.imf", kSong);
        if (c.Prepare)
            c.Prepare(song);
        const ProcessResult result = Convert({song});
        std::string expected = c.Reason;
        for (std::size_t at; (at = expected.find('%')) != std::string::npos;)
            expected.replace(at, 1, song);
        EXPECT_EQ(result.ExitCode, 1);
        EXPECT_EQ(result.Err, expected + "\n");
        ::SetFileAttributesW(Wide(dir / "song.imf").c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(test::ReadBytes(dir / "song.imf"), kSong);
    }
}

TEST(WindowsFileSystemTest, WildcardsAreExpandedByTheProgramAsWindowsShellsLeaveThem)
{
    test::TempDir dir;
    for (const char* name : {"b.IMF", "A.imf", "c.txt"})
        test::WriteBytes(dir / name, kSong);
    const ProcessResult result = Convert({dir / "*.IMF", dir / "none?.imf"});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Err, "File not found: No file matches " + dir / "none?.imf" + "\n");
    EXPECT_EQ(result.Out, "Complete: Conversion complete!\n2 converted\n");
    for (const char* name : {"A.imf", "b.IMF"})
        EXPECT_EQ(test::ReadBytes(dir / name), test::ReferenceConversion(kSong, 280)) << name;
    EXPECT_EQ(test::ReadBytes(dir / "c.txt"), kSong);
}

TEST(WindowsFileSystemTest, AttributesTimesAndLongAndUnicodeNamesSurviveAConversion)
{
    test::TempDir dir;
    // Folders whose path passes the classic 260 characters, made as a user's tools make them.
    std::string deep = dir.Path();
    while (deep.size() < 300) {
        deep += "\\a folder deep in a game tree";
        ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + Wide(deep)).c_str(), nullptr)) << deep;
    }
    const std::string names[] = {dir / "hidden.imf", dir / "Müsik 音楽.imf", deep + "\\long.imf"};
    for (const std::string& song : names) {
        const HANDLE file = ::CreateFileW((L"\\\\?\\" + Wide(song)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ::WriteFile(file, kSong.data(), static_cast<DWORD>(kSong.size()), &written, nullptr);
        FILETIME old{0x12345600, 0x01D00000};
        ::SetFileTime(file, nullptr, &old, &old);
        ::CloseHandle(file);
    }
    ::SetFileAttributesW(Wide(names[0]).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);

    const ProcessResult result = Convert({names[0], names[1], names[2]});
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, "Complete: Conversion complete!\n3 converted\n");
    for (const std::string& song : names) {
        SCOPED_TRACE(song);
        const std::wstring longSong = L"\\\\?\\" + Wide(song);
        WIN32_FILE_ATTRIBUTE_DATA converted{}, backup{};
        ASSERT_TRUE(::GetFileAttributesExW(longSong.c_str(), GetFileExInfoStandard, &converted));
        ASSERT_TRUE(::GetFileAttributesExW((longSong + L".bak").c_str(), GetFileExInfoStandard, &backup));
        EXPECT_EQ(converted.nFileSizeLow, kSong.size() + 2);
        EXPECT_EQ(backup.nFileSizeLow, kSong.size());
        EXPECT_EQ(backup.ftLastWriteTime.dwLowDateTime, 0x12345600u) << "the backup keeps the song's time";
    }
    EXPECT_TRUE(Attributes(names[0]) & FILE_ATTRIBUTE_HIDDEN) << "a hidden song stays hidden";
    EXPECT_TRUE(Attributes(names[0] + ".bak") & FILE_ATTRIBUTE_HIDDEN) << "and so does its backup";
    EXPECT_FALSE(Attributes(names[1]) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(test::ReadBytes(names[1]), test::ReferenceConversion(kSong, 280));
}

TEST(WindowsFileSystemTest, MessagesReachAPipeAsUtf8WithTheSystemsReasons)
{
    test::TempDir dir;
    const ProcessResult result = Convert({dir / "Müsik 音楽.imf"});
    EXPECT_EQ(result.Err, "File not found: Could not find " + dir / "Müsik 音楽.imf" + "!\n");
    // The system's own reason, in its words.
    test::WriteBytes(dir / "song.imf", test::MakeHeldNoteSong(10));
    const std::string wav = dir / "missing folder\\song.wav";
    const ProcessResult render = test::RunProgram({test::CliPath(), "render", dir / "song.imf", "-o", wav});
    EXPECT_EQ(render.ExitCode, 1);
    const std::string prefix = "Render failed: Could not write " + wav + ": ";
    EXPECT_TRUE(render.Err == prefix + "The system cannot find the path specified\n" || // Windows' words
                render.Err == prefix + "Path not found\n")                              // Wine's
        << render.Err;
}

struct EncodingCase {
    std::string Folder;   // as the program holds it, UTF-8
    std::string Stored;   // the bytes the settings file holds
};

TEST(WindowsFileSystemTest, TheFolderIsStoredInTheAnsiCodePageWhenItCanBeAndReadEitherWay)
{
    ASSERT_EQ(::GetACP(), 1252u) << "the cases are written for Western European Windows";
    const EncodingCase cases[] = {
        {"C:\\Games\\Music", "C:\\Games\\Music"},
        {"C:\\Games\\M\xC3\xBCsik", "C:\\Games\\M\xFCsik"},                    // ü is one byte in 1252
        {"C:\\Games\\\xE9\x9F\xB3\xE6\xA5\xBD", "C:\\Games\\\xE9\x9F\xB3\xE6\xA5\xBD"}, // 音楽 is not in 1252
    };
    test::TempDir dir;
    for (const EncodingCase& c : cases) {
        SCOPED_TRACE(c.Folder);
        EXPECT_EQ(PathForSettings(c.Folder), c.Stored);
        EXPECT_EQ(PathFromSettings(c.Stored), c.Folder);
        EXPECT_EQ(PathFromSettings(c.Folder), c.Folder) << "settings already in UTF-8 are read as they are";

        test::RecordingInteraction ui;
        clsINI ini(ui);
        ini.LoadINI(dir / "Brivane.ini");
        ini.WriteValue("General", "Folder", PathForSettings(c.Folder));
        EXPECT_EQ(test::ReadText(dir / "Brivane.ini"), "[General]\r\nFolder=" + c.Stored + "\r\n");
        clsINI reread(ui);
        reread.LoadINI(dir / "Brivane.ini");
        EXPECT_EQ(PathFromSettings(reread.ReadString("General", "Folder", "")), c.Folder);
        EXPECT_TRUE(ui.messages.empty());
    }
}

} // namespace
} // namespace brivane
