// The capture readers on small captures built here, every code of each format.
#include "capture/CaptureReaders.h"
#include "capture/CaptureFiles.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace brivane {

// Found by argument-dependent lookup, so that a failing table names the writes.
void PrintTo(const TimedWrite& w, std::ostream* os)
{
    *os << "{" << int(w.Register) << ", " << int(w.Value) << " at " << w.At << "}";
}

namespace {

using test::Bytes;
using test::Dro;
using test::DroOld;
using test::Raw;
using test::Vgm;

TEST(CaptureReaderTest, EachCodeGivesItsWritesAtTheirTimes)
{
    const struct {
        const char* Name;
        Bytes File;
        std::vector<TimedWrite> Writes;
        std::uint64_t End;
        std::uint64_t UnitsPerSecond;
        std::uint64_t SecondChip;
        const char* Hardware;
    } cases[] = {
        {"DRO: writes, a short and a long delay, the second chip",
         Dro(1, {0, 0x01, 0x70, 9, 1, 0x30, 0x71, 1, 0x82, 0x07, 2, 0x40, 0x70, 0}),
         {{0x20, 0x01, 0}, {0xB0, 0x30, 10}, {0x05, 0x40, 522}}, 523, 1000, 1, "dual OPL2"},
        {"DRO 0.1 with its version and a wide hardware type: every code, the second chip",
         DroOld(true, true, 2, {0x20, 0x01, 0x00, 9, 0x01, 0x00, 0x01, 0x04, 0x01, 0x20, 0x03, 0xB0, 0x30, 0x02, 0xB0, 0x31}),
         {{0x20, 0x01, 0}, {0x01, 0x20, 267}, {0xB0, 0x31, 267}}, 267, 1000, 1, "dual OPL2"},
        {"DRO 0.1 of the earliest kind: no version, a one-byte hardware type", DroOld(false, false, 0, {0x20, 0x01, 0x00, 4}),
         {{0x20, 0x01, 0}}, 5, 1000, 0, "OPL2"},
        {"RAW: writes, delays, a clock change, the second chip and back, the end before a tag",
         Raw(0x1000, {0x01, 0x20, 5, 0x00, 0, 0x02, 0x00, 0x20, 2, 0x00, 0x30, 0xB0, 2, 0x02, 7, 0x40, 1, 0x02,
                      9, 0x43, 0xFF, 0xFF, 'T', 'a', 'g'}),
         {{0x20, 0x01, 0}, {0xB0, 0x30, 5 * 0x1000 + 2 * 0x2000}, {0x43, 9, 5 * 0x1000 + 2 * 0x2000}},
         5 * 0x1000 + 2 * 0x2000, 1193180, 1, "dual OPL2"},
        {"VGM: YM3812 writes, every wait, skipped commands and data, the second chip",
         Vgm(3579545 | (1u << 30), 0, 0,
             {0x5A, 0x20, 0x01, 0x61, 0x10, 0x00, 0x62, 0x63, 0x7F, 0x4F, 0x00, 0x50, 0x9F, 0xC0, 1, 2, 3, 0xE0, 1, 2,
              3, 4, 0x67, 0x66, 0x00, 3, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0x5A, 0xB0, 0x30, 0xAA, 0xB0, 0x31, 0x70, 0x66}),
         {{0x20, 0x01, 0}, {0xB0, 0x30, 16 + 735 + 882 + 16}}, 16 + 735 + 882 + 16 + 1, 44100, 1, "dual OPL2"},
        {"VGM: an OPL3's low bank plays, its high bank is left out",
         Vgm(0, 0, 14318180, {0x5E, 0x20, 0x01, 0x5F, 0x05, 0x01, 0x7F, 0x66}), {{0x20, 0x01, 0}}, 16, 44100, 1, "OPL3"},
        {"VGZ: a YM3526 stream, inflated", test::Gzip(Vgm(0, 3579545, 0, {0x5B, 0x40, 0x3F, 0x62, 0x66})),
         {{0x40, 0x3F, 0}}, 735, 44100, 0, "OPL"},
        {"RAW: a clock of 0 is 0xFFFF", Raw(0, {1, 0x20, 3, 0x00, 0xFF, 0xFF}), {{0x20, 0x01, 0}}, 3 * 0xFFFF, 1193180, 0, "OPL2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::optional<TimedSong> capture = test::ReadCapture(c.File);
        ASSERT_TRUE(capture);
        EXPECT_EQ(capture->Writes, c.Writes);
        EXPECT_EQ(capture->End, c.End);
        EXPECT_EQ(capture->UnitsPerSecond, c.UnitsPerSecond);
        EXPECT_EQ(capture->SecondChipWrites, c.SecondChip);
        EXPECT_EQ(capture->Hardware, c.Hardware);
    }
    EXPECT_FALSE(test::ReadCapture(Bytes{0, 0, 0, 0})) << "an IMF song is no capture";
}

TEST(CaptureReaderTest, DamagedCapturesAreRefusedWithTheReason)
{
    const Bytes whole = Dro(0, {});
    const auto Cut = [](Bytes bytes, std::size_t size) {
        bytes.resize(size);
        return bytes;
    };
    const struct {
        Bytes File;
        const char* Reason;
    } cases[] = {
        {Bytes(whole.begin(), whole.begin() + 20), "it ends inside its header"},
        {Dro(0, {}, 128), "its codemap is longer than 127"},
        {Dro(0, {5, 1}), "a write names entry 5 of a codemap of 3"},
        {Dro(0, {0, 1}, 3, 9), "it ends inside its data: 9 pairs are announced"},
        {Dro(7, {}), "its hardware type 7 is none DOSBox writes"},
        {Cut(DroOld(true, true, 0, {}), 14), "it ends inside its header"},
        {DroOld(false, true, 1, {0x20}), "it ends inside a write"},
        {DroOld(true, true, 0, {0x20, 0x01, 0x00}), "it ends inside a delay"},
        {Raw(0x1000, {1, 0x20, 0, 0x02}), "it ends inside a change of its clock"},
        {Raw(0x1000, {1}), "it ends inside its data"},
        {Vgm(3579545, 0, 0, {0x5A, 0x20}), "it ends inside a command"},
        {Vgm(3579545, 0, 0, {0x61, 0x10, 0x00}), "it ends inside its data: it has no end command"},
        {Vgm(3579545, 0, 0, {0x01, 0x66}), "it holds the command 0x01, which no VGM version defines"},
        {Cut(Vgm(3579545, 0, 0, {}), 0x70), "its data offset is past its end"},
        {Vgm(0, 0, 0, {0x66}), "it is for no OPL chip (its chips: none)"},
        {Cut(test::Gzip(Vgm(3579545, 0, 0, {0x66})), 12), "its gzip stream does not inflate: it is cut short"},
    };
    EXPECT_FALSE(test::ReadCapture(test::Gzip({'t', 'e', 'x', 't'}))) << "a gzip stream of another kind is no capture";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Reason);
        try {
            test::ReadCapture(c.File);
            ADD_FAILURE() << "read";
        } catch (const SongReadError& error) {
            EXPECT_STREQ(error.what(), c.Reason);
        }
    }
}

TEST(CaptureReaderTest, AnUnmarkedRegisterOneInADro01IsReadAsTheWriteItIs)
{
    // 01 00 BD read as a delay would leave C0 A0 and then a write to 0x57, which no OPL2 has.
    const Bytes dro = DroOld(true, true, 0, {0x01, 0x00, 0xBD, 0xC0, 0xA0, 0x57, 0x00, 0x09});
    const TimedSong capture = *test::ReadCapture(dro);
    EXPECT_EQ(capture.Writes, (std::vector<TimedWrite>{{0x01, 0x00, 0}, {0xBD, 0xC0, 0}, {0xA0, 0x57, 0}}));
    EXPECT_EQ(capture.End, 10u);
    test::TempDir dir;
    test::WriteBytes(dir / "old.dro", dro);
    EXPECT_EQ(test::RunCli({"info", dir / "old.dro"}).Out,
              dir / "old.dro" + ": DOSBox DRO 0.1 capture, OPL2, 3 writes, 0.01 seconds; 1 of its code bytes is read as "
                                "writes DOSBox 0.7x leaves unmarked (register 1, its first register dump), which keeps "
                                "every write aligned\n");
}

TEST(CaptureReaderTest, InfoDescribesACaptureAndConvertLeavesItAlone)
{
    test::TempDir dir;
    const Bytes dro = Dro(1, {0, 0x01, 0x71, 3, 0x82, 0x07});
    test::WriteBytes(dir / "song.dro", dro);
    test::WriteBytes(dir / "cut.dro", Dro(0, {}, 128));
    const test::ProcessResult info = test::RunCli({"info", dir / "song.dro", dir / "cut.dro"});
    EXPECT_EQ(info.ExitCode, 1);
    EXPECT_EQ(info.Out, dir / "song.dro" + ": DOSBox DRO 2.0 capture, dual OPL2, 1 write, 1.02 seconds; 1 write to a "
                                           "second chip would be left out: IMF plays one OPL2\n" +
                            dir / "cut.dro" + ": a DOSBox DRO capture that cannot be read: its codemap is longer than 127\n");
    EXPECT_EQ(test::RunCli({"convert", dir / "song.dro", dir / "cut.dro"}).ExitCode, 1);
    EXPECT_EQ(test::ReadBytes(dir / "song.dro"), dro);
    EXPECT_FALSE(std::filesystem::exists(dir / "cut.imf"));
}

} // namespace
} // namespace brivane
