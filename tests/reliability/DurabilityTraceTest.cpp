// The order in which a conversion reaches the disk, read from a system-call trace of the
// real command-line tool: the backup, data and name, is durable before the song is replaced.
#include "support/Process.h"
#include "support/Songs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>
#include <sys/stat.h>

namespace brivane {
namespace {

struct Event {
    std::string Call;   // "fsync" or "rename"
    std::string Path;   // what was flushed, or what was renamed
    std::string Target; // where it was renamed to
};

// strace -f lines: "PID call(args) = result". Descriptors are tracked per process.
std::vector<Event> ParseTrace(const std::string& trace)
{
    static const std::regex open(R"re(^(\d+) +openat\(AT_FDCWD, "([^"]*)",.*\) = (\d+))re");
    static const std::regex flush(R"re(^(\d+) +f(?:data)?sync\((\d+)\) += 0)re");
    static const std::regex rename(R"re(^(\d+) +rename(?:at2?)?\((?:AT_FDCWD, )?"([^"]*)", (?:AT_FDCWD, )?"([^"]*)".*\) = 0)re");
    std::map<std::string, std::string> descriptors; // "pid/fd" -> path
    std::vector<Event> events;
    std::istringstream lines(trace);
    std::smatch m;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, m, open))
            descriptors[m[1].str() + "/" + m[3].str()] = m[2];
        else if (std::regex_search(line, m, flush))
            events.push_back({"fsync", descriptors[m[1].str() + "/" + m[2].str()], {}});
        else if (std::regex_search(line, m, rename))
            events.push_back({"rename", m[2], m[3]});
    }
    return events;
}

std::size_t Find(const std::vector<Event>& events, std::size_t from, const std::string& call, const std::string& path,
                 const std::string& target = {})
{
    for (std::size_t i = from; i < events.size(); ++i)
        if (events[i].Call == call && events[i].Path == path && (target.empty() || events[i].Target == target))
            return i;
    return events.size();
}

TEST(DurabilityTraceTest, BackupDataNameThenSongDataNameEachFlushedInThatOrder)
{
    test::TempDir dir;
    std::vector<std::string> argv{"/usr/bin/strace", "-f", "-o", dir / "trace",
                                  "-e", "trace=openat,rename,renameat,renameat2,fsync,fdatasync,linkat",
                                  test::CliPath(), "convert", "--jobs", "1"};
    const std::string songs = dir / "songs";
    ASSERT_EQ(::mkdir(songs.c_str(), 0777), 0);
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i) {
        paths.push_back(songs + "/S" + std::to_string(i) + ".IMF");
        test::WriteBytes(paths.back(), test::MakeHeaderlessSong(3000, static_cast<std::uint32_t>(i)));
        argv.push_back(paths.back());
    }
    const test::ProcessResult result = test::RunProgram(argv);
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const std::vector<Event> events = ParseTrace(test::ReadText(dir / "trace"));

    for (const std::string& song : paths) {
        SCOPED_TRACE(song);
        const auto renamedTo = [&](const std::string& target) {
            for (const Event& e : events)
                if (e.Call == "rename" && e.Target == target)
                    return e.Path;
            return std::string();
        };
        const std::string backupTemporary = renamedTo(song + ".bak");
        const std::string songTemporary = renamedTo(song);
        ASSERT_FALSE(backupTemporary.empty());
        ASSERT_FALSE(songTemporary.empty());

        const std::size_t backupData = Find(events, 0, "fsync", backupTemporary);
        const std::size_t backupName = Find(events, backupData, "rename", backupTemporary, song + ".bak");
        const std::size_t backupFolder = Find(events, backupName, "fsync", songs);
        const std::size_t songData = Find(events, backupFolder, "fsync", songTemporary);
        const std::size_t songName = Find(events, songData, "rename", songTemporary, song);
        const std::size_t songFolder = Find(events, songName, "fsync", songs);
        EXPECT_LT(songFolder, events.size()) << "the order was: backup data " << backupData << ", name " << backupName
                                             << ", folder " << backupFolder << "; song data " << songData << ", name "
                                             << songName << ", folder " << songFolder;
    }
}

} // namespace
} // namespace brivane
