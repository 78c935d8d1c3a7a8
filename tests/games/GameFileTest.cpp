// The songs of game files built here: AUDIOHED/AUDIOT pairs of every game, group files, and
// every refusal, through the reader and through `brivane-cli songs`.
#include "games/GameFile.h"
#include "games/GameSongTasks.h"
#include "support/GameFiles.h"
#include "support/KeenFiles.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>
#ifdef _WIN32
#include <windows.h>
#else
#include "support/Unprivileged.h"
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace brivane {
namespace {

using test::Bytes;

using test::AudioPair;
using test::Group;
using test::Song;

// A step of the command line: its arguments, its exit status and a part of what it says.
struct CliStep {
    std::vector<std::string> Arguments;
    int Exit;
    const char* Says;
};

void RunSteps(const std::vector<CliStep>& steps)
{
    for (const CliStep& step : steps) {
        const test::ProcessResult run = test::RunCli(step.Arguments);
        EXPECT_EQ(run.ExitCode, step.Exit) << run.Err;
        EXPECT_NE((run.Out + run.Err).find(step.Says), std::string::npos) << run.Out << run.Err;
    }
}

TEST(GameFileTest, EachGamesSongsAreFoundAndNamed)
{
    const struct {
        const char* Extension;
        std::size_t Sounds, Songs;
        std::optional<std::size_t> First;
        const char* Game;
        const char* FourthName;
        int Tics;
        bool ByContents;
    } cases[] = {
        {"WL6", 261, 27, {}, "Wolfenstein 3-D", "GETTHEM", 700, false},
        {"WL1", 219, 27, {}, "Wolfenstein 3-D 1.0", "GETTHEM", 700, false},
        {"SOD", 243, 24, {}, "Spear of Destiny", "GETTHEM", 700, false},
        {"BS6", 300, 10, {}, "Blake Stone", "song 4", 700, false},
        {"BM1", 150, 6, {}, "Bio Menace", "song 4", 560, true},
        {"WL6", 250, 27, {}, "Wolfenstein 3-D", "song 4", 700, true}, // a version of no known count
        {"BM2", 150, 6, 149, "Bio Menace", "song 4", 560, false},       // --first-song at the marker
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Extension) + " " + std::to_string(c.Sounds));
        const auto [header, data] = AudioPair(c.Sounds, c.Songs);
        const GameFile file = ReadAudioPair(header, data, c.Extension, c.First);
        EXPECT_EQ(file.Game, c.Game);
        ASSERT_EQ(file.Songs.size(), c.Songs);
        EXPECT_EQ(file.Songs[3].Name, c.FourthName);
        EXPECT_EQ(file.Songs[3].Tics, c.Tics);
        EXPECT_EQ(file.Songs[3].Bytes, Song(4)) << "the song as the game holds it, tag and all";
        EXPECT_EQ(file.FoundBy.empty(), !c.ByContents) << file.FoundBy;
    }

    std::vector<std::pair<std::string, Bytes>> entries;
    for (int i = 0; i < 197; ++i)
        entries.push_back({"TILES" + std::to_string(i) + ".MNI", Bytes{1, 2, 3}});
    entries.push_back({"CAVES.IMF", Bytes{0, 0, 0, 0, 0x20, 1, 2, 0}});
    entries.push_back({"menu.imf", Bytes{0, 0, 0, 0}});
    entries.push_back({"MCAVES.MNI", Bytes{0, 0, 0, 0, 0x20, 1, 28, 0}});
    const GameFile duke = ReadGroupFile(Group(entries, 200 * 20 + 20), "CMP");
    ASSERT_EQ(duke.Songs.size(), 2u);
    EXPECT_EQ(duke.Songs[1].Name, "MENU.IMF");
    EXPECT_EQ(duke.Songs[0].Seconds(), 2.0 / 280);
    const GameFile cosmo = ReadGroupFile(Group({entries.end() - 3, entries.end()}, 960), "STN");
    ASSERT_EQ(cosmo.Songs.size(), 1u);
    EXPECT_EQ(cosmo.Songs[0].Name, "MCAVES.MNI");
    EXPECT_EQ(cosmo.Songs[0].Seconds(), 28.0 / 560);
}

TEST(GameFileTest, DamagedAndUnknownFilesAreRefusedWithTheReason)
{
    auto [header, data] = AudioPair(261, 27);
    Bytes backwards = header;
    backwards[4 * 10] = 0xFF, backwards[4 * 10 + 1] = 0xFF, backwards[4 * 10 + 2] = 0xFF;
    const Bytes outside = Group({{"CAVES.IMF", Bytes(8, 0)}}, 40);
    const struct {
        std::function<GameFile()> Read;
        const char* Reason;
    } cases[] = {
        {[&] { return ReadAudioPair(Bytes(6, 0), data, "WL6", {}); }, "its AUDIOHED holds 6 bytes, which are no list of offsets"},
        {[&] { return ReadAudioPair(backwards, data, "WL6", {}); }, "its offsets go backwards at chunk 10"},
        {[&] { return ReadAudioPair(header, Bytes(data.begin(), data.end() - 1), "WL6", {}); },
         "its offsets reach byte 3525 of an AUDIOT of 3524"},
        {[&] { return ReadAudioPair(header, data, "XYZ", {}); }, "its extension .XYZ names no game whose music this reads"},
        {[&] { return ReadAudioPair(AudioPair(40, 0).first, AudioPair(40, 0).second, "BM1", {}); },
         "none of its chunks is a song; give the first song's chunk with --first-song"},
        {[&] { return ReadAudioPair(header, data, "WL6", 400); }, "it has 288 chunks: there is no chunk 400"},
        {[&] { return ReadGroupFile(Bytes(outside.begin(), outside.end() - 1), "CMP"); },
         "its entry CAVES.IMF lies outside the file"},
    };
    for (const auto& c : cases) {
        try {
            c.Read();
            ADD_FAILURE() << "read: " << c.Reason;
        } catch (const GameFileError& error) {
            EXPECT_STREQ(error.what(), c.Reason);
        }
    }
}

TEST(GameFileTest, SongsListsAPairGivenByEitherFileAndAGroupFile)
{
    test::TempDir dir;
    const auto [header, data] = AudioPair(261, 27);
    test::WriteBytes(dir / "audiohed.wl6", header);
    test::WriteBytes(dir / "AUDIOT.WL6", data);
    test::WriteBytes(dir / "NUKEM2.CMP", Group({{"CAVES.IMF", Bytes{0, 0, 0, 0, 0x20, 1, 28, 0}}}, 4000));
    for (const std::string given : {"audiohed.wl6", "AUDIOT.WL6"}) {
        const test::ProcessResult songs = test::RunCli({"songs", dir / given});
        EXPECT_EQ(songs.ExitCode, 0) << songs.Err;
        EXPECT_NE(songs.Out.find(": Wolfenstein 3-D, AUDIOT.WL6 indexed by audiohed.wl6, 27 songs\n"), std::string::npos);
        EXPECT_NE(songs.Out.find("    4  GETTHEM       length word at 700, 23 bytes, 0.01 seconds\n"), std::string::npos)
            << songs.Out;
    }
    const test::ProcessResult duke = test::RunCli({"songs", dir / "NUKEM2.CMP", dir / "AUDIOT.WL1"});
    EXPECT_EQ(duke.ExitCode, 1);
    EXPECT_NE(duke.Out.find("    1  CAVES.IMF     headerless at 280, 8 bytes, 0.10 seconds\n"), std::string::npos)
        << duke.Out;
    EXPECT_NE(duke.Err.find("its partner AUDIOHED.WL1 is not beside it"), std::string::npos) << duke.Err;
#ifndef _WIN32
    // A folder that can be entered but not listed hides no partner: it says why it cannot look.
    test::TempDir locked;
    test::WriteBytes(locked / "AUDIOT.WL6", data);
    ::chmod(locked.Path().c_str(), 0111);
    const std::string unlisted = test::RunUnprivileged([&] {
        try {
            ReadGameFile(locked / "AUDIOT.WL6");
        } catch (const GameFileError& error) {
            return std::string(error.what());
        }
        return std::string("read");
    });
    ::chmod(locked.Path().c_str(), 0755);
    EXPECT_EQ(unlisted, "its folder " + locked.Path() + " cannot be listed, so its partner AUDIOHED.WL6 cannot be found");
#endif
}

TEST(GameFileTest, ExtractWritesEachSongAsTheGameHoldsItAndNeverOverAFileUnasked)
{
    test::TempDir dir, out;
    const auto [header, data] = AudioPair(261, 27);
    test::WriteBytes(dir / "AUDIOHED.WL6", header);
    test::WriteBytes(dir / "AUDIOT.WL6", data);
    RunSteps({
        {{"extract", "-o", out.Path(), dir / "AUDIOT.WL6", "4", "pacman"}, 0, "Extracted song 4 (GETTHEM) to "},
        {{"extract", "-o", out.Path(), dir / "AUDIOT.WL6", "GETTHEM"}, 1, "GETTHEM.imf exists; give --force to replace it"},
        {{"extract", "-o", out.Path(), "--force", dir / "AUDIOT.WL6"}, 0, "Extracted song 27 (PACMAN) to "},
        {{"extract", "-o", out.Path(), dir / "AUDIOT.WL6", "99"}, 2, "has no song 99"},
    });
    EXPECT_EQ(out.Names().size(), 27u);
    EXPECT_EQ(test::ReadBytes(out / "GETTHEM.imf"), Song(4)) << "the length word, the records and the tag";
}

TEST(GameFileTest, ReplaceChangesOneFileAtOnceKeepsTheOriginalsAndRestorePutsThemBack)
{
    test::TempDir dir;
    auto [header, data] = AudioPair(261, 27);
    test::WriteBytes(dir / "AUDIOHED.WL6", header);
    test::WriteBytes(dir / "AUDIOT.WL6", data);
    const Bytes intro{0, 0, 0, 0, 0x20, 1, 1, 0, 0x20, 2, 3, 0, 0xB0, 0x20, 5, 0};
    std::vector<std::pair<std::string, Bytes>> entries{{"INTRO.IMF", intro}, {"TILES.MNI", Bytes{1, 2, 3}}};
    test::WriteBytes(dir / "NUKEM2.CMP", Group(entries, 200));
    test::WriteBytes(dir / "theme.mid", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96});
    test::WriteBytes(dir / "duke.imf", intro);
    Bytes tooLong(4, 0); // headerless, 20,001 records: more than a length word counts
    for (int i = 0; i < 20000; ++i)
        tooLong.insert(tooLong.end(), {0x20, 1, 1, 0});
    test::WriteBytes(dir / "long.imf", tooLong);
    RunSteps({
        // Extracted and put back, a song gives back the same bytes.
        {{"extract", "-o", dir.Path(), dir / "AUDIOT.WL6", "GETTHEM"}, 0, "GETTHEM.imf"},
        {{"replace", dir / "AUDIOT.WL6", "GETTHEM", dir / "GETTHEM.imf"}, 0, "already in its layout and rate"},
        {{"extract", "-o", dir.Path(), dir / "NUKEM2.CMP", "INTRO.IMF"}, 0, "INTRO.IMF"},
        {{"replace", dir / "AUDIOT.WL6", "GETTHEM", dir / "INTRO.IMF"}, 0,
         "Put INTRO.IMF into AUDIOT.WL6 as song 4 (GETTHEM): converted from 280 to 700 ticks per second"},
        {{"replace", dir / "AUDIOHED.WL6", "1", dir / "theme.mid"}, 1, "theme.mid: it holds no notes; nothing was changed"},
        {{"replace", dir / "AUDIOT.WL6", "1", dir / "long.imf"}, 1,
         "the song of long.imf takes 80004 bytes, more than the 65535 a length word counts; nothing was changed"},
        {{"replace", dir / "NUKEM2.CMP", "intro.imf", dir / "duke.imf"}, 0,
         "Put duke.imf into NUKEM2.CMP as song 1 (INTRO.IMF): already in its layout and rate"},
    });
    EXPECT_EQ(test::ReadBytes(dir / "AUDIOHED.WL6"), header) << "a song that fits changes AUDIOT alone";
    EXPECT_EQ(test::ReadBytes(dir / "AUDIOT.WL6.bak"), data);
    EXPECT_FALSE(test::Exists(dir / "AUDIOHED.WL6.bak"));

    // Duke Nukem II's song as Wolfenstein 3-D reads it: each write at 700 within a tick of its
    // time at 280.
    const GameFile wolf = ReadGameFile(dir / "AUDIOT.WL6");
    const Bytes& put = wolf.Songs[3].Bytes;
    ASSERT_EQ(put.size(), Song(4).size());
    EXPECT_EQ(Bytes(put.begin(), put.begin() + 18),
              (Bytes{16, 0, 0, 0, 0, 0, 0x20, 1, 2, 0, 0x20, 2, 8, 0, 0xB0, 0x20, 12, 0}));
    const GameFile duke = ReadGameFile(dir / "NUKEM2.CMP");
    EXPECT_EQ(duke.Songs[0].Bytes, test::ReadBytes(dir / "duke.imf"));
    EXPECT_EQ(ReadGroupFile(test::ReadBytes(dir / "NUKEM2.CMP"), "CMP").Songs.size(), 1u);

    // A song larger than its chunk: both files change, the later songs move, none is lost.
    const test::ProcessResult grown = test::RunCli({"replace", dir / "AUDIOT.WL6", "1", dir / "duke.imf"});
    EXPECT_NE(grown.Out.find("Put duke.imf into AUDIOT.WL6 and AUDIOHED.WL6 as song 1 (CORNER)"), std::string::npos)
        << grown.Out << grown.Err;
    const GameFile after = ReadGameFile(dir / "AUDIOT.WL6");
    EXPECT_EQ(after.Songs[0].Bytes.size(), 18u);
    EXPECT_EQ(after.Songs[26].Bytes, Song(27));
    EXPECT_EQ(test::ReadBytes(dir / "AUDIOHED.WL6.bak"), header);
    EXPECT_FALSE(test::Exists(dir / "AUDIOT.WL6.change")) << "the record goes once the change is done";

    const test::ProcessResult restored = test::RunCli({"restore", dir / "AUDIOHED.WL6"});
    EXPECT_EQ(restored.ExitCode, 0) << restored.Err;
    EXPECT_EQ(test::ReadBytes(dir / "AUDIOT.WL6"), data);
    EXPECT_EQ(test::ReadBytes(dir / "AUDIOHED.WL6"), header);
    EXPECT_EQ(test::RunCli({"restore", dir / "NUKEM2.CMP"}).ExitCode, 0);
    EXPECT_EQ(test::ReadBytes(dir / "NUKEM2.CMP"), Group(entries, 200));
    test::WriteBytes(dir / "COSMO1.STN", Group({}, 960));
    EXPECT_NE(test::RunCli({"restore", dir / "COSMO1.STN"}).Err.find("has no backups"), std::string::npos);
}

// Where the games look before their group files, and the files no song goes into.
TEST(GameFileTest, ReplaceGoesWhereTheGamePlaysFrom)
{
    test::TempDir dir;
    const Bytes mcaves{0, 0, 0, 0, 0x20, 1, 28, 0};
    test::WriteBytes(dir / "COSMO1.VOL", Group({{"MBOSS.MNI", mcaves}, {"MCAVES.MNI", mcaves}}, 960));
    test::WriteBytes(dir / "COSMO1.STN", Group({{"MCAVES.MNI", mcaves}}, 960));
    test::WriteBytes(dir / "NUKEM2.CMP", Group({{"CAVES.IMF", mcaves}}, 200));
    test::WriteBytes(dir / "caves.imf", mcaves);
    test::WriteBytes(dir / "AUDIO.CK4", Bytes(100, 7));
    test::WriteBytes(dir / "song.imf", Bytes{0, 0, 0, 0, 0x20, 2, 1, 0});
    RunSteps({
        {{"songs", dir / "COSMO1.VOL"}, 0, "    2  MCAVES.MNI    headerless at 560, 8 bytes, 0.05 seconds; the game plays COSMO1.STN's copy\n"},
        {{"replace", dir / "COSMO1.VOL", "mcaves.mni", dir / "song.imf"}, 0,
         "Put song.imf into COSMO1.STN as song 1 (MCAVES.MNI): converted from 280 to 560"},
        {{"replace", dir / "NUKEM2.CMP", "1", dir / "song.imf"}, 0,
         "already in its layout and rate; the game plays the loose caves.imf beside it, which was left as it is"},
        {{"songs", dir / "AUDIO.CK4"}, 1, "neither AUDIOHED.CK4 nor the game's KEEN4E.EXE is beside it"},
    });
    EXPECT_EQ(test::ReadBytes(dir / "COSMO1.VOL"), Group({{"MBOSS.MNI", mcaves}, {"MCAVES.MNI", mcaves}}, 960));
    EXPECT_FALSE(test::Exists(dir / "COSMO1.VOL.bak"));
    // What a replace of the .VOL's song changed, a restore of the .VOL puts back.
    const std::string restored = "Restored " + dir / "COSMO1.STN from";
    RunSteps({{{"restore", dir / "COSMO1.VOL"}, 0, restored.c_str()}});
    EXPECT_EQ(test::ReadBytes(dir / "COSMO1.STN"), Group({{"MCAVES.MNI", mcaves}}, 960));
}

// A game file that cannot be changed is reported, and no backup or new file is left beside it.
TEST(GameFileTest, AGameFileThatCannotBeChangedIsLeftAsItWas)
{
    test::TempDir dir;
    const auto [header, data] = AudioPair(261, 27);
    test::WriteBytes(dir / "AUDIOHED.WL6", header);
    test::WriteBytes(dir / "AUDIOT.WL6", data);
    test::WriteBytes(dir / "song.imf", Bytes{0, 0, 0, 0, 0x20, 2, 1, 0, 0x20, 3, 1, 0, 0x20, 4, 1, 0});
    const auto unchanged = [&](const std::string& says) {
        EXPECT_NE(says.find("; nothing was changed"), std::string::npos) << says;
        EXPECT_EQ(test::ReadBytes(dir / "AUDIOT.WL6"), data);
        EXPECT_EQ(test::ReadBytes(dir / "AUDIOHED.WL6"), header);
        EXPECT_EQ(dir.Names(), (std::vector<std::string>{"AUDIOHED.WL6", "AUDIOT.WL6", "song.imf"}));
    };
#ifdef _WIN32
    // A running game holds its AUDIOT open without sharing it: waited for, then reported.
    const HANDLE game = ::CreateFileA((dir / "AUDIOT.WL6").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(game, INVALID_HANDLE_VALUE);
    for (const char* song : {"27", "1"})
        unchanged(test::RunCli({"replace", dir / "AUDIOT.WL6", song, dir / "song.imf"}).Err);
    ::CloseHandle(game);
#else
    const std::vector<std::pair<std::string, std::function<void()>>> limits{
        {"27", [] { const rlimit full{1000, 1000}; ::setrlimit(RLIMIT_FSIZE, &full); }},
        {"1", [] { const rlimit full{3530, 3530}; ::setrlimit(RLIMIT_FSIZE, &full); }}}; // the grown AUDIOT fails
    for (const auto& [song, limit] : limits)
        unchanged(test::RunCli({"replace", dir / "AUDIOT.WL6", song, dir / "song.imf"}, limit).Err);
    test::GiveToNobody(dir.Path());
    ::chmod((dir / "AUDIOT.WL6").c_str(), 0444);
    unchanged(test::RunUnprivileged([&] {
        const GameFile game = ReadGameFile(dir / "AUDIOT.WL6");
        return ReplaceSongWithFile(dir / "AUDIOT.WL6", game.Songs[26], dir / "song.imf", {}).Text;
    }));
#endif
}

// Two Brivanes replacing songs of the same game at once: one after the other, neither lost.
TEST(GameFileTest, TwoReplacesAtOnceBothLand)
{
    test::TempDir dir;
    const auto [header, data] = AudioPair(261, 27);
    test::WriteBytes(dir / "AUDIOHED.WL6", header);
    test::WriteBytes(dir / "AUDIOT.WL6", data);
    test::WriteBytes(dir / "song.imf", Bytes{0, 0, 0, 0, 0x20, 7, 1, 0});
    for (int round = 0; round < 5; ++round) {
        const test::ProgramId first = test::StartProgram({test::CliPath(), "replace", dir / "AUDIOT.WL6", "26", dir / "song.imf"});
        const test::ProgramId second = test::StartProgram({test::CliPath(), "replace", dir / "AUDIOT.WL6", "1", dir / "song.imf"});
        EXPECT_EQ(test::WaitProgram(first), 0);
        EXPECT_EQ(test::WaitProgram(second), 0);
        const GameFile game = ReadGameFile(dir / "AUDIOT.WL6");
        EXPECT_EQ(game.Songs[0].Bytes[7], 7) << "song 1 replaced";
        EXPECT_EQ(game.Songs[25].Bytes[7], 7) << "song 26 replaced";
        EXPECT_EQ(game.Songs[26].Bytes, Song(27)) << "the others kept";
    }
}

// A game's files as installed, the one the lock is taken on last.
using GameFiles = std::vector<std::pair<std::string, Bytes>>;

GameFiles KeenFiles(std::size_t songs, bool inExecutable)
{
    const test::KeenAudioFiles keen = test::KeenAudio(52, songs);
    if (inExecutable)
        return {{"KEEN4E.EXE", test::PlainExecutable(test::ExecutableImage(keen))}, {"AUDIO.CK4", keen.Audio}};
    return {{"AUDIODCT.CK4", keen.Dictionary}, {"AUDIOHED.CK4", keen.Offsets}, {"AUDIO.CK4", keen.Audio}};
}

// Kills `replace` at random moments: each time the game reads, as the engine reads it, as the
// old songs or the new ones, and the game's original is never lost.
TEST(GameFileTest, AKilledReplaceLeavesTheOldSongsOrTheNew)
{
    std::mt19937 random(20261209);
    const auto pair = [](std::size_t songs) {
        const auto [header, data] = AudioPair(261, songs);
        return GameFiles{{"AUDIOHED.WL6", header}, {"AUDIOT.WL6", data}};
    };
    const struct {
        GameFiles Installed, Reinstalled;
        const char* Fits;  // a song the new one fits in; song 1 grows its chunk
        int Trials;
    } games[] = {
        {pair(27), pair(26), "27", 100},
        {KeenFiles(6, false), KeenFiles(5, false), "6", 50},
        {KeenFiles(6, true), KeenFiles(5, true), "6", 50},
    };
    const Bytes song{0, 0, 0, 0, 0x20, 1, 4, 0, 0x20, 2, 4, 0, 0x20, 3, 4, 0};
    for (const auto& game : games) {
        const std::string data = game.Installed.back().first;
        SCOPED_TRACE(game.Installed.front().first);
        const auto install = [](const test::TempDir& dir, const GameFiles& files) {
            for (const auto& [name, bytes] : files)
                test::WriteBytes(dir / name, bytes);
        };
        const auto prepare = [&](const test::TempDir& dir, int trial) {
            install(dir, game.Installed);
            test::WriteBytes(dir / "song.imf", song);
            return std::vector<std::string>{test::CliPath(), "replace", dir / data, trial % 2 ? "1" : game.Fits,
                                            dir / "song.imf"};
        };
        const auto read = [&](const test::TempDir& dir) {
            GameFiles now;
            for (const auto& [name, bytes] : game.Installed)
                now.emplace_back(name, test::ReadBytes(dir / name));
            return now;
        };
        std::vector<GameFiles> replaced; // after each kind of replace
        std::chrono::microseconds duration{0};
        for (int kind = 0; kind < 2; ++kind) {
            test::TempDir timed;
            const auto start = std::chrono::steady_clock::now();
            ASSERT_EQ(test::RunProgram(prepare(timed, kind)).ExitCode, 0);
            duration = std::max(duration, std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start));
            replaced.push_back(read(timed));
        }
        ASSERT_NE(replaced[1].end()[-2], game.Installed.end()[-2]) << "song 1 moves the offsets";
        int finishedLater = 0, recordsSeen = 0, staleLeftAlone = 0;
        for (int trial = 0; trial < game.Trials; ++trial) {
            SCOPED_TRACE("trial " + std::to_string(trial));
            test::TempDir dir;
            const test::ProgramId child = test::StartProgram(prepare(dir, trial));
            std::this_thread::sleep_for(std::chrono::microseconds(random() % (duration.count() + 1)));
            test::KillProgram(child);
            const bool asRead = test::Exists(dir / (data + ".change"));
            if (asRead && recordsSeen++ % 2 == 0) {
                // Another version put in place, as a reinstall would: the record is not for it.
                install(dir, game.Reinstalled);
                const test::ProcessResult songs = test::RunCli({"songs", dir / data});
                ASSERT_EQ(songs.ExitCode, 1);
                EXPECT_NE(songs.Err.find("is not for the files beside it"), std::string::npos) << songs.Err;
                ASSERT_EQ(read(dir), game.Reinstalled) << "nothing replayed over it";
                ASSERT_EQ(test::RunCli({"restore", dir / data}).ExitCode, 0) << "restore clears it";
                const GameFiles restored = read(dir); // of what a change writes: the offsets and the chunks
                ASSERT_TRUE(std::equal(restored.end() - 2, restored.end(), game.Installed.end() - 2));
                ASSERT_FALSE(test::Exists(dir / (data + ".change")));
                ++staleLeftAlone;
                continue;
            }
            const test::ProcessResult songs = test::RunCli({"songs", dir / data});
            ASSERT_EQ(songs.ExitCode, 0) << "it finishes what a kill left";
            if (asRead) {
                EXPECT_NE(songs.Out.find("; finished the replace of " + data + " that was interrupted"), std::string::npos);
            }
            for (const std::string& name : dir.Names())
                ASSERT_NE(name[0], '.') << "a temporary file left: " << name;
            finishedLater += asRead;
            const GameFiles now = read(dir);
            ASSERT_TRUE(now == game.Installed || now == replaced[trial % 2]);
            ASSERT_FALSE(test::Exists(dir / (data + ".new")) || test::Exists(dir / (data + ".change")));
            if (now.back() != game.Installed.back()) {
                ASSERT_EQ(test::ReadBytes(dir / (data + ".bak")), game.Installed.back().second)
                    << "changed without keeping the original";
            }
        }
        RecordProperty("FinishedByTheNextCommand" + game.Installed.front().first, finishedLater);
        RecordProperty("StaleRecordsLeftAlone" + game.Installed.front().first, staleLeftAlone);
    }
}

} // namespace
} // namespace brivane
