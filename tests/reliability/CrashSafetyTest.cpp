// Kills the real programs at random moments and checks that no byte of a song, a backup or
// the settings file is ever lost or half written. BRIVANE_CRASH_TRIALS asks for more trials,
// BRIVANE_CRASH_SEED for another sequence.
#include "platform/FileSystem.h"
#include "settings/clsINI.h"
#include "support/Process.h"
#include "support/RecordingInteraction.h"
#include "support/Songs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

namespace brivane {
namespace {

using test::Bytes;

int FromEnvironment(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

const int kTrials = FromEnvironment("BRIVANE_CRASH_TRIALS", 100);
const unsigned kSeed = static_cast<unsigned>(FromEnvironment("BRIVANE_CRASH_SEED", 20261208));
constexpr int kSongs = 50;

struct Song {
    std::string Path;
    Bytes Original;
    Bytes Converted;
    Bytes OldBackup; // empty: no backup before the batch; else bytes of no whole record, which a batch replaces
};

std::vector<Song> MakeSongs(const test::TempDir& dir, std::mt19937& random)
{
    std::vector<Song> songs;
    for (int i = 0; i < kSongs; ++i) {
        Song song;
        song.Path = dir / ("SONG" + std::to_string(i) + ".IMF");
        song.Original = test::MakeHeaderlessSong(1000 + random() % 7000, random());
        song.Converted = test::ReferenceConversion(song.Original, 280);
        test::WriteBytes(song.Path, song.Original);
        if (i % 3 == 0) {
            song.OldBackup = {0, 0, static_cast<std::uint8_t>(random())};
            test::WriteBytes(song.Path + ".bak", song.OldBackup);
        }
        songs.push_back(song);
    }
    return songs;
}

std::vector<std::string> ConvertCommand(const std::vector<Song>& songs)
{
    std::vector<std::string> argv{test::CliPath(), "convert", "--tics", "280", "--backup", "--no"};
    for (const Song& song : songs)
        argv.push_back(song.Path);
    return argv;
}

// How long a whole batch takes here, so that kills land all through it.
std::chrono::microseconds BatchDuration(std::mt19937& random)
{
    test::TempDir dir;
    const auto songs = MakeSongs(dir, random);
    const auto start = std::chrono::steady_clock::now();
    test::RunProgram(ConvertCommand(songs));
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
}

TEST(CrashSafetyTest, AKilledBatchLeavesEachSongAndBackupWholeAndARerunCompletesIt)
{
    std::mt19937 random(kSeed);
    const auto duration = BatchDuration(random);
    for (int trial = 0; trial < kTrials; ++trial) {
        SCOPED_TRACE("seed " + std::to_string(kSeed) + ", trial " + std::to_string(trial));
        test::TempDir dir;
        const auto songs = MakeSongs(dir, random);
        const auto command = ConvertCommand(songs);

        const test::ProgramId child = test::StartProgram(command);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % (duration.count() + 1000)));
        test::KillProgram(child);

        for (const Song& song : songs) {
            const Bytes now = test::ReadBytes(song.Path);
            ASSERT_TRUE(now == song.Original || now == song.Converted) << song.Path;
            const std::string backup = song.Path + ".bak";
            if (test::Exists(backup)) {
                const Bytes saved = test::ReadBytes(backup);
                ASSERT_TRUE(saved == song.Original || (!song.OldBackup.empty() && saved == song.OldBackup)) << backup;
                if (now == song.Converted) {
                    ASSERT_EQ(saved, song.Original) << "a converted song has its backup: " << backup;
                }
            } else {
                ASSERT_TRUE(song.OldBackup.empty()) << "an old backup was lost: " << backup;
                ASSERT_EQ(now, song.Original) << "converted without a backup: " << song.Path;
            }
        }

        const test::ProcessResult rerun = test::RunProgram(command);
        ASSERT_EQ(rerun.ExitCode, 0) << rerun.Err;
        for (const Song& song : songs) {
            ASSERT_EQ(test::ReadBytes(song.Path), song.Converted) << song.Path;
            ASSERT_EQ(test::ReadBytes(song.Path + ".bak"), song.Original) << song.Path;
        }
        ASSERT_EQ(dir.Names().size(), 2u * kSongs) << "no temporary file is left behind";
    }
}

// Loads a settings file the way the window does and checks it is one whole document: one
// the loop saved, with its folder and backup option (a loop killed early has not saved the
// later keys yet), then a rate the loop writes.
void ExpectCompleteSettings(const std::string& path)
{
    test::RecordingInteraction ui;
    clsINI ini(ui);
    ini.LoadINI(path);
    ASSERT_EQ(ini.Sections().size(), 1u);
    const INISection& general = ini.Sections()[0];
    ASSERT_EQ(general.Name, "General");
    ASSERT_GE(general.Keys.size(), 1u);
    ASSERT_LE(general.Keys.size(), 3u);
    EXPECT_EQ(general.Keys[0], (INIKey{"Folder", "/home/modder/music"}));
    if (general.Keys.size() >= 2) {
        EXPECT_EQ(general.Keys[1], (INIKey{"MakeBackups", "1"}));
    }
    if (general.Keys.size() == 3) {
        EXPECT_EQ(general.Keys[2].Name, "OriginalTics");
        const int tics = ini.ReadLong("General", "OriginalTics", 0);
        EXPECT_TRUE(tics >= 100 && tics <= 700) << general.Keys[2].Value;
        EXPECT_EQ(std::to_string(tics), general.Keys[2].Value);
    }
}

TEST(CrashSafetyTest, AKilledSaveLoopAlwaysLeavesACompleteSettingsFile)
{
    std::mt19937 random(kSeed);
    for (int trial = 0; trial < kTrials; ++trial) {
        SCOPED_TRACE("seed " + std::to_string(kSeed) + ", trial " + std::to_string(trial));
        test::TempDir dir;
        const std::string path = dir / "Brivane.ini";
        const test::ProgramId child = test::StartProgram({BRIVANE_SAVE_LOOP_PATH, path});
        // The kill lands among the saves, however long the program takes to start here.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!test::Exists(path) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        test::KillProgram(child);
        ASSERT_TRUE(test::Exists(path)) << "the loop never saved";
        ExpectCompleteSettings(path);
        ASSERT_LE(dir.Names().size(), 2u) << "at most the temporary file of the save that was killed";
    }
}

} // namespace
} // namespace brivane
