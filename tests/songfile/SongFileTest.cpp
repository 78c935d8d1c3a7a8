#include "capture/CaptureFiles.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace brivane {
namespace {

using test::Bytes;

void PutU32(Bytes& to, std::size_t value)
{
    for (int i = 0; i < 4; ++i)
        to.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// One note for 96 ticks at 96 a quarter note.
const Bytes kMidi{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 0x60, 'M', 'T', 'r', 'k', 0, 0, 0, 12,
                  0, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0, 0, 0xFF, 0x2F, 0};

// The same song as a RIFF MIDI (.rmi): the Standard MIDI File in a "data" chunk.
Bytes RiffMidi()
{
    Bytes riff{'R', 'I', 'F', 'F'};
    PutU32(riff, 4 + 8 + kMidi.size());
    riff.insert(riff.end(), {'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'});
    PutU32(riff, kMidi.size());
    riff.insert(riff.end(), kMidi.begin(), kMidi.end());
    return riff;
}

Bytes Executable()
{
    Bytes exe(512, 0x90);
    const std::uint8_t header[] = {'M', 'Z', 0x90, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0xFF, 0xFF, 0, 0,
                                   0xB8, 0, 0, 0, 0, 0, 0, 0, 0x40, 0};
    std::copy(std::begin(header), std::end(header), exe.begin());
    return exe;
}

Bytes RandomBytes()
{
    Bytes bytes(4000);
    std::uint32_t state = 7;
    for (std::uint8_t& byte : bytes)
        byte = static_cast<std::uint8_t>((state = state * 1664525u + 1013904223u) >> 24);
    bytes[0] = bytes[1] = 0;
    return bytes;
}

Bytes Cut(Bytes bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

// What the door makes of every kind: `info` names it, and `convert`, asked to go ahead with
// everything, leaves every file that is no song as it was.
TEST(SongFileTest, TheDoorNamesEveryKindAndNothingButASongIsConverted)
{
    const struct {
        const char* Name;
        Bytes File;
        std::string Info; // after "PATH: "
        int InfoExit;
    } cases[] = {
        {"a RIFF MIDI is read as the MIDI file inside", RiffMidi(), "", 0},
        {"an ELF executable", {0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0x3E, 0},
         "an ELF executable, not an IMF song", 0},
        {"a DOS executable", Executable(), "a DOS or Windows executable, not an IMF song", 0},
        {"random bytes", RandomBytes(), "a file whose records write registers no OPL2 has (430 of 1000), not an IMF song",
         0},
        {"a RAW capture of no writes", test::Raw(0x1000, {0xFF, 0xFF}),
         "an Rdos RAW capture that cannot be read: it holds no writes", 1},
        {"a DRO of no pairs", test::Dro(0, {}), "a DOSBox DRO capture that cannot be read: it holds no writes", 1},
        {"a VGM of only its end", test::Vgm(3579545, 0, 0, {0x66}),
         "a VGM capture that cannot be read: it holds no writes", 1},
        {"a DRO cut short", Cut(test::Dro(0, {0, 1}), 20),
         "a DOSBox DRO capture that cannot be read: it ends inside its header", 1},
        {"a RIFF MIDI cut inside its chunk", Cut(RiffMidi(), 30),
         "a RIFF MIDI file that cannot be read: its chunk at 12 passes the file's end", 1},
        {"a MIDI file whose header length is not 6", {'M', 'T', 'h', 'd', 0, 0, 0, 4, 0, 0, 0, 1},
         "a MIDI file that cannot be read: its header is shorter than 6 bytes", 1},
        {"a WAV file", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, "a WAV file, not an IMF song", 0},
    };
    test::TempDir dir;
    test::WriteBytes(dir / "plain.mid", kMidi);
    const std::string plainMidi = test::RunCli({"info", dir / "plain.mid"}).Out;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = dir / "file.imf";
        test::WriteBytes(path, c.File);
        const test::ProcessResult info = test::RunCli({"info", path});
        const std::string expected =
            c.Info.empty() ? plainMidi.substr((dir / "plain.mid").size()) : ": " + c.Info + "\n";
        EXPECT_EQ(info.Out, path + expected);
        EXPECT_EQ(info.ExitCode, c.InfoExit) << info.Err;
        if (!c.Info.empty()) {
            EXPECT_EQ(test::RunCli({"convert", "--yes", "--force", path}).ExitCode, 1);
            EXPECT_EQ(test::ReadBytes(path), c.File);
        }
        std::filesystem::remove(test::NativePath(path));
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"plain.mid"}) << "nothing written beside it";
    }
}

// A file far larger than any song is refused by its size before a byte of it is read: under a
// memory limit far below its size, and whatever its first bytes.
TEST(SongFileTest, AFileLargerThanAnySongIsRefusedByItsSizeUnread)
{
    test::TempDir dir;
    const struct {
        std::string Name;
        Bytes Start;
        std::string Kind;
    } cases[] = {{"zeros.imf", {}, "a file"}, {"big.dro", {'D', 'B', 'R', 'A', 'W', 'O', 'P', 'L'}, "a DOSBox DRO capture"}};
    for (const auto& c : cases) {
        const std::string path = dir / c.Name;
        test::WriteBytes(path, c.Start);
        std::filesystem::resize_file(test::NativePath(path), std::uintmax_t{3} << 30); // sparse
        std::function<void()> limited; // no memory limit where the system or a sanitizer has none to give
#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__)
        limited = [] {
            const rlimit memory{256u << 20, 256u << 20};
            ::setrlimit(RLIMIT_AS, &memory);
        };
#endif
        const test::ProcessResult info = test::RunCli({"info", path}, limited);
        EXPECT_EQ(info.Out, path + ": " + c.Kind +
                                " that cannot be read: it is 3221225472 bytes, more than the 64 MiB of the largest song "
                                "Brivane reads\n");
        const test::ProcessResult convert = test::RunCli({"convert", "--yes", path}, limited);
        EXPECT_EQ(convert.ExitCode, 1);
        EXPECT_NE(convert.Err.find("more than the 64 MiB"), std::string::npos) << convert.Err;
        std::filesystem::remove(test::NativePath(path));
    }
}

} // namespace
} // namespace brivane
