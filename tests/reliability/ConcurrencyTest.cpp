// Two Brivanes on the same songs at once, with a third process reading them meanwhile: each
// song is converted once, its backup is the original, and no reader ever sees half a song.
#include "support/Process.h"
#include "support/Songs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#ifdef _WIN32
#include "support/FileHolder.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#endif

namespace brivane {
namespace {

using test::Bytes;

constexpr int kSongs = 12;

struct Race {
    const char* Name;
    std::vector<std::string> First;  // options of each run
    std::vector<std::string> Second;
    bool ConvertedBefore;            // the songs start converted at 700, with their backups
    bool Backups;
};

const std::vector<Race> kRaces{
    {"same rate", {"--tics", "280"}, {"--tics", "280"}, false, true},
    {"different rates", {"--tics", "280"}, {"--tics", "560"}, false, true},
    {"no backups", {"--tics", "280", "--no-backup"}, {"--tics", "280", "--no-backup"}, false, false},
    {"two reverts", {"--tics", "280", "--yes"}, {"--tics", "280", "--yes"}, true, true},
};

std::vector<std::string> Command(const std::vector<std::string>& options, const std::vector<std::string>& songs)
{
    std::vector<std::string> argv{test::CliPath(), "convert"};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.insert(argv.end(), songs.begin(), songs.end());
    return argv;
}

TEST(ConcurrencyTest, TwoRunsAtOnceConvertEachSongOnceAndReadersSeeOnlyWholeSongs)
{
    for (int trial = 0; trial < 24; ++trial) {
        const Race& race = kRaces[static_cast<std::size_t>(trial) % kRaces.size()];
        SCOPED_TRACE(std::string(race.Name) + ", trial " + std::to_string(trial));
        test::TempDir dir;
        std::vector<std::string> paths;
        std::vector<Bytes> originals;
        for (int i = 0; i < kSongs; ++i) {
            paths.push_back(dir / ("S" + std::to_string(i) + ".IMF"));
            originals.push_back(test::MakeHeaderlessSong(8000, static_cast<std::uint32_t>(trial * 100 + i)));
            test::WriteBytes(paths.back(), race.ConvertedBefore ? test::ReferenceConversion(originals.back(), 700)
                                                                : originals.back());
            if (race.ConvertedBefore)
                test::WriteBytes(paths.back() + ".bak", originals.back());
        }
        auto whole = [&](int i, const Bytes& seen) {
            return seen == originals[i] || seen == test::ReferenceConversion(originals[i], 280) ||
                   seen == test::ReferenceConversion(originals[i], 560) ||
                   (race.ConvertedBefore && seen == test::ReferenceConversion(originals[i], 700));
        };

        std::atomic<int> partial{-1};
        // Stopped and joined however this trial ends, a failure to start a program included.
        std::jthread reader([&](std::stop_token stop) {
            while (!stop.stop_requested())
                for (int i = 0; i < kSongs; ++i) {
                    try {
                        if (!whole(i, test::ReadBytes(paths[i])))
                            partial = i;
                    } catch (const std::runtime_error&) {
                        // Windows refuses a reader that does not share deletion for the
                        // instant a rename holds the file; that reader saw nothing at all.
                    }
                }
        });
        const test::ProgramId first = test::StartProgram(Command(race.First, paths));
        const test::ProgramId second = test::StartProgram(Command(race.Second, paths));
        EXPECT_EQ(test::WaitProgram(first), 0);
        EXPECT_EQ(test::WaitProgram(second), 0);
        reader.request_stop();
        reader.join();

        EXPECT_EQ(partial, -1) << "a reader saw a song that was neither old nor new";
        for (int i = 0; i < kSongs; ++i) {
            const Bytes song = test::ReadBytes(paths[i]);
            EXPECT_TRUE(song == test::ReferenceConversion(originals[i], 280) ||
                        (race.Second[1] == "560" && song == test::ReferenceConversion(originals[i], 560)))
                << "converted exactly once: " << paths[i];
            if (race.Backups) {
                EXPECT_EQ(test::ReadBytes(paths[i] + ".bak"), originals[i]) << "the backup is the original";
            }
        }
        EXPECT_EQ(dir.Names().size(), static_cast<std::size_t>(race.Backups ? 2 * kSongs : kSongs)) << "no litter";
    }
}

TEST(ConcurrencyTest, ASongHeldByAnotherRunIsSkippedAfterTheWait)
{
    test::TempDir dir;
    const Bytes song = test::MakeHeaderlessSong(400, 1);
    test::WriteBytes(dir / "HELD.IMF", song);
    test::WriteBytes(dir / "FREE.IMF", song);
#ifdef _WIN32
    test::TempDir scratch;
    const test::ProgramId holder = test::StartHolding("lock", dir / "HELD.IMF", 15000, scratch);
#else
    const int held = ::open((dir / "HELD.IMF").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
#endif

    const test::ProcessResult result = test::RunProgram({test::CliPath(), "convert", dir / "HELD.IMF", dir / "FREE.IMF"});
#ifdef _WIN32
    test::KillProgram(holder);
#else
    ::close(held);
#endif
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Err, "File busy: " + dir / "HELD.IMF" + " is being converted by another Brivane; skipped.\n");
    EXPECT_EQ(test::ReadBytes(dir / "HELD.IMF"), song);
    EXPECT_EQ(test::ReadBytes(dir / "FREE.IMF"), test::ReferenceConversion(song, 280));
}

} // namespace
} // namespace brivane
