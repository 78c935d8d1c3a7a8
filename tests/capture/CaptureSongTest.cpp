// A capture's song: the time-exact writer, and convert and render of captures through the
// command line.
#include "capture/CaptureFiles.h"
#include "opl/TimedRecords.h"
#include "conversion/GamePresets.h"
#include "support/Process.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace brivane {
namespace {

using test::Bytes;

TEST(CaptureSongTest, EachWriteLandsAtItsExactTimeAndLongWaitsGoOnInRegisterZero)
{
    EXPECT_EQ(TickAt(1, 2, 1), 0u) << "a half tick rounds to the even 0";
    EXPECT_EQ(TickAt(3, 2, 1), 2u) << "one and a half rounds to the even 2";
    EXPECT_EQ(TickAt(1000, 1193180, 700), 1u) << "0.587 ticks";
    // Writes at their times in units of a second's `units`, and the song's end.
    const auto timed = [](std::uint64_t units, std::vector<TimedWrite> writes, std::uint64_t end) {
        TimedSong song;
        song.UnitsPerSecond = units;
        song.Writes = std::move(writes);
        song.End = end;
        return song;
    };
    const struct {
        const char* Name;
        TimedSong Input;
        int Rate;
        Bytes Records;
    } cases[] = {
        {"silence before the first write, the last delay to the end", timed(1000, {{0x20, 1, 10}, {0xB0, 2, 13}}, 20),
         700, {0, 0, 7, 0, 0x20, 1, 2, 0, 0xB0, 2, 5, 0}},
        {"rounding never drifts", timed(3, {{0x20, 1, 1}, {0x20, 2, 2}, {0x20, 3, 3}}, 3), 2,
         {0, 0, 1, 0, 0x20, 1, 0, 0, 0x20, 2, 1, 0, 0x20, 3, 0, 0}},
        {"a wait past 65535 ticks", timed(1, {{0x20, 1, 0}}, 3), 50000,
         {0, 0, 0, 0, 0x20, 1, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0, 0xF2, 0x49}},
        {"no writes at all", timed(1, {}, 2), 560, {0, 0, 0x60, 0x04}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimedRecords(c.Input, c.Rate), c.Records) << c.Name;
}

// 40 notes of 250 ms on the first chip (codemap 20 B0 05), each followed by a write to the second.
Bytes Tune()
{
    Bytes pairs;
    for (std::uint8_t i = 0; i < 40; ++i)
        pairs.insert(pairs.end(), {0, 0x21, 1, static_cast<std::uint8_t>(0x20 | (i % 4)), 0x70, 249, 1, 0, 0x81, 0x20});
    return test::Dro(1, pairs);
}

TEST(CaptureSongTest, ConvertWritesTheSongBesideTheCaptureAndNeverReplacesOneUnasked)
{
    test::TempDir dir;
    const std::string dro = dir / "tune.dro", song = dir / "tune.imf";
    test::WriteBytes(dro, Tune());
    const struct {
        const char* Name;
        std::vector<std::string> Arguments;
        int Exit;
        const char* Says;
        bool Backup;
    } steps[] = {
        {"the first time", {"--to", "keen"}, 0, "40 writes to a second chip were left out: IMF plays one OPL2.", false},
        {"a song is there", {"--to", "duke2"}, 1, "tune.imf already exists; nothing was written (--force replaces it)", false},
        {"--force replaces it, keeping a backup", {"--to", "duke2", "--force"}, 0, "1 converted", true},
    };
    for (const auto& step : steps) {
        std::vector<std::string> arguments{"convert"};
        arguments.insert(arguments.end(), step.Arguments.begin(), step.Arguments.end());
        arguments.push_back(dro);
        const test::ProcessResult run = test::RunCli(arguments);
        EXPECT_EQ(run.ExitCode, step.Exit) << step.Name;
        EXPECT_NE((run.Out + run.Err).find(step.Says), std::string::npos) << step.Name << ": " << run.Out << run.Err;
        EXPECT_EQ(std::filesystem::exists(song + ".bak"), step.Backup) << step.Name;
        EXPECT_EQ(test::ReadBytes(dro), Tune()) << "the capture is never changed";
    }
    EXPECT_EQ(test::ReadBytes(song).size(), 4u * 121) << "headerless: the silence record and every first-chip write";

    const test::ProcessResult named = test::RunCli({"convert", "-o", dir / "named.imf", dro});
    EXPECT_EQ(named.ExitCode, 0) << named.Err;
    EXPECT_EQ(test::ReadBytes(dir / "named.imf").size(), 2u + 4 * 121);
    EXPECT_EQ(test::RunCli({"convert", "-o", dir / "x.imf", dro, dro}).ExitCode, 2);

    // A write every millisecond for 20 seconds: 80,004 bytes of records.
    Bytes dense;
    for (int i = 0; i < 20000; ++i)
        dense.insert(dense.end(), {0, 0x21, 0x70, 0});
    test::WriteBytes(dir / "dense.dro", test::Dro(0, dense));
    const test::ProcessResult tooLong = test::RunCli({"convert", "--to", "wolf3d", dir / "dense.dro"});
    EXPECT_EQ(tooLong.ExitCode, 1);
    EXPECT_NE(tooLong.Err.find("its song takes 80004 bytes at 700 ticks a second, more than the 65535 a length word "
                               "counts; the first 0:16 of it would fit. Convert it to a headerless layout instead "
                               "(--to headerless:700)."),
              std::string::npos)
        << tooLong.Err;
    EXPECT_FALSE(std::filesystem::exists(dir / "dense.imf"));
}

TEST(CaptureSongTest, AVgmsTagGoesIntoALengthWordSongsTag)
{
    test::TempDir dir;
    const Bytes vgm = test::WithGd3(test::Vgm(3579545, 0, 0, {0x5A, 0x20, 0x01, 0x62, 0x66}),
                                    {u"Théme", u"", u"Cosmo \U0001F680", u"", u"", u"", u"Bobby"});
    test::WriteBytes(dir / "theme.vgm", vgm);
    EXPECT_NE(test::RunCli({"info", dir / "theme.vgm"}).Out.find(
                  "; title \"Th\xC3\xA9me\"; author \"Bobby\"; game \"Cosmo \xF0\x9F\x9A\x80\""),
              std::string::npos);
    ASSERT_EQ(test::RunCli({"convert", "--to", "keen", dir / "theme.vgm"}).ExitCode, 0);
    const std::string info = test::RunCli({"info", dir / "theme.imf"}).Out;
    EXPECT_NE(info.find("(tag: title \"Th\xC3\xA9me\", composer \"Bobby\", remarks \"Cosmo \xF0\x9F\x9A\x80\")"),
              std::string::npos)
        << info;
}

TEST(CaptureSongTest, LoopTakesAVgmsLoopingPartWithTheRegistersAsTheyStandThere)
{
    test::TempDir dir;
    Bytes vgm = test::Vgm(3579545, 0, 0, {0x5A, 0x20, 0x01, 0x62, 0x5A, 0xB0, 0x30, 0x62, 0x5A, 0xB0, 0x10, 0x62, 0x66});
    vgm[0x1C] = 0x84 - 0x1C; // the loop begins at the second write
    test::WriteBytes(dir / "loop.vgm", vgm);
    test::WriteBytes(dir / "tune.dro", Tune());
    ASSERT_EQ(test::RunCli({"convert", "--loop", "--to", "headerless:700", dir / "loop.vgm"}).ExitCode, 0);
    EXPECT_EQ(test::ReadBytes(dir / "loop.imf"),
              (Bytes{0, 0, 0, 0, 0x20, 0x01, 0, 0, 0xB0, 0x30, 12, 0, 0xB0, 0x10, 11, 0}));
    const test::ProcessResult noLoop = test::RunCli({"convert", "--loop", dir / "tune.dro"});
    EXPECT_EQ(noLoop.ExitCode, 1);
    EXPECT_NE(noLoop.Err.find("it has no loop point"), std::string::npos) << noLoop.Err;
    EXPECT_FALSE(std::filesystem::exists(dir / "tune.imf"));
}

TEST(CaptureSongTest, EveryTargetsSongSoundsAsTheCaptureItself)
{
    test::TempDir dir;
    test::WriteBytes(dir / "tune.dro", Tune());
    ASSERT_EQ(test::RunCli({"render", dir / "tune.dro", "-o", dir / "tune.wav"}).ExitCode, 0);
    const Bytes capture = test::ReadBytes(dir / "tune.wav");
    for (const GamePreset& game : kGamePresets) {
        const std::string key(game.Key), song = dir / (key + ".imf");
        ASSERT_EQ(test::RunCli({"convert", "--to", key, "-o", song, dir / "tune.dro"}).ExitCode, 0) << key;
        ASSERT_EQ(test::RunCli({"render", "--game", key, song, "-o", song + ".wav"}).ExitCode, 0) << key;
        // Every note starts on a whole millisecond, which every game's rate and 44,100 Hz hit
        // within a sample: the two renderings are one.
        EXPECT_EQ(test::ReadBytes(song + ".wav"), capture) << key;
    }
}

} // namespace
} // namespace brivane
