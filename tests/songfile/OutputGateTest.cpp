#include "capture/CaptureFiles.h"
#include "support/GameFiles.h"
#include "support/Process.h"
#include "support/Songs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

namespace brivane {
namespace {

using test::Bytes;

// Every file of a folder and its subfolders with its bytes: what a run left behind.
std::map<std::string, Bytes> Snapshot(const std::string& folder)
{
    std::map<std::string, Bytes> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(test::NativePath(folder)))
        if (entry.is_regular_file())
            files[test::Utf8Path(std::filesystem::relative(entry.path(), test::NativePath(folder)))] =
                test::ReadBytes(test::Utf8Path(entry.path()));
    return files;
}

const Bytes kSong = test::MakeHeaderlessSong(64, 3);
const Bytes kCapture = test::Dro(0, {0, 1, 0x70, 10, 1, 0x20});

// The song the capture gives when it is converted alone.
Bytes SongOfCapture()
{
    test::TempDir alone;
    test::WriteBytes(alone / "cap.dro", kCapture);
    EXPECT_EQ(test::RunCli({"convert", alone / "cap.dro"}).ExitCode, 0);
    return test::ReadBytes(alone / "cap.imf");
}

struct GateCase {
    const char* Name;
    std::function<void(const test::TempDir&)> Prepare;
    std::function<std::vector<std::string>(const test::TempDir&)> Arguments; // after "convert --jobs N"
    int ExitCode;
    std::function<void(const test::TempDir&)> Check; // what must hold after
};

// The gate over each kind of output: an input named in other words, a backup holding another
// song, two inputs for one output, a song and its capture; the same files at any --jobs.
TEST(OutputGateTest, NoOutputGoesOverAnInputOrAnotherOutputAndEveryJobCountGivesTheSameFiles)
{
    const auto original = [](const test::TempDir& dir) {
        test::WriteBytes(dir / "song.imf", kSong);
        test::WriteBytes(dir / "song.dro", kCapture);
    };
    const GateCase cases[] = {
        {"a capture's song over a song whose backup is the original",
         [&](const test::TempDir& dir) {
             original(dir);
             ASSERT_EQ(test::RunCli({"convert", dir / "song.imf"}).ExitCode, 0);
         },
         [](const test::TempDir& dir) { return std::vector<std::string>{"--force", dir / "song.dro"}; }, 0,
         [](const test::TempDir& dir) { EXPECT_EQ(test::ReadBytes(dir / "song.imf.bak"), kSong); }},
        {"a song and its capture in one batch", original,
         [](const test::TempDir& dir) { return std::vector<std::string>{"--force", dir / "song.imf", dir / "song.dro"}; },
         1, [](const test::TempDir& dir) { EXPECT_EQ(test::ReadBytes(dir / "song.imf.bak"), kSong); }},
        {"the capture before its song", original,
         [](const test::TempDir& dir) { return std::vector<std::string>{"--force", dir / "song.dro", dir / "song.imf"}; },
         1, [](const test::TempDir& dir) { EXPECT_EQ(test::ReadBytes(dir / "song.imf.bak"), kSong); }},
        {"two captures of one name",
         [](const test::TempDir& dir) {
             test::WriteBytes(dir / "cap.dro", kCapture);
             test::WriteBytes(dir / "cap.raw", test::Raw(0x1000, {1, 0x20, 3, 0, 0xFF, 0xFF}));
         },
         [](const test::TempDir& dir) { return std::vector<std::string>{dir / "cap.dro", dir / "cap.raw"}; }, 1,
         [](const test::TempDir& dir) { EXPECT_EQ(test::ReadBytes(dir / "cap.imf"), SongOfCapture()); }},
    };
    for (const GateCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::optional<std::map<std::string, Bytes>> first;
        for (const char* jobs : {"1", "2", "4"}) {
            SCOPED_TRACE(jobs);
            test::TempDir dir;
            c.Prepare(dir);
            std::vector<std::string> arguments{"convert", "--jobs", jobs};
            for (const std::string& argument : c.Arguments(dir))
                arguments.push_back(argument);
            const test::ProcessResult result = test::RunCli(arguments);
            EXPECT_EQ(result.ExitCode, c.ExitCode) << result.Out << result.Err;
            c.Check(dir);
            const auto files = Snapshot(dir.Path());
            if (first)
                EXPECT_EQ(files, *first);
            else
                first = files;
        }
    }
}

// -o naming the capture itself in other words: refused, the capture as it was.
TEST(OutputGateTest, AnOutputThatIsTheInputByAnotherNameIsRefused)
{
    test::TempDir dir;
    test::WriteBytes(dir / "cap.dro", kCapture);
    std::filesystem::create_directory(test::NativePath(dir / "sub"));
    std::vector<std::string> names{dir.Path() + "/./cap.dro", dir / "sub/../cap.dro"};
#ifndef _WIN32
    std::filesystem::create_symlink("cap.dro", dir / "link.dro");
    names.push_back(dir / "link.dro");
#else
    names.push_back(dir / "CAP.DRO");
#endif
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const test::ProcessResult result =
            test::RunCli({"convert", "--force", "--no-backup", "-o", name, dir / "cap.dro"});
        EXPECT_EQ(result.ExitCode, 1);
        EXPECT_NE(result.Err.find("written over the capture itself"), std::string::npos) << result.Err;
        EXPECT_EQ(test::ReadBytes(dir / "cap.dro"), kCapture);
        const test::ProcessResult render = test::RunCli({"render", "-o", name, dir / "cap.dro"});
        EXPECT_EQ(render.ExitCode, 2) << render.Err;
        EXPECT_EQ(test::ReadBytes(dir / "cap.dro"), kCapture);
    }
}

// Names from inside a game's file are data: none leads outside -o, none hides, and -o is made.
TEST(OutputGateTest, ExtractWritesEveryNameInsideItsFolderAndReplaceRefusesTheGameItself)
{
    test::TempDir dir;
    const Bytes song = test::Song(3);
    test::WriteBytes(dir / "NUKEM2.CMP",
                     test::Group({{"../../EV.IMF", song}, {".IMF", song}, {"..\\W.IMF", song}, {"CON.IMF", song},
                                  {"GOOD.IMF", song}},
                                 200));
    const test::ProcessResult extract = test::RunCli({"extract", "-o", dir / "new folder", dir / "NUKEM2.CMP"});
    EXPECT_EQ(extract.ExitCode, 0) << extract.Err;
    const std::vector<std::string> expected{"GOOD.IMF", "song-1.imf", "song-2.imf", "song-3.imf", "song-4.imf"};
    EXPECT_EQ(test::TempDir::NamesIn(dir / "new folder"), expected) << extract.Out;
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"NUKEM2.CMP", "new folder"}));

    const Bytes game = test::ReadBytes(dir / "NUKEM2.CMP");
    const test::ProcessResult replace = test::RunCli({"replace", dir / "NUKEM2.CMP", "5", dir / "NUKEM2.CMP"});
    EXPECT_EQ(replace.ExitCode, 1);
    EXPECT_NE(replace.Err.find("a file of the game itself"), std::string::npos) << replace.Err;
    EXPECT_EQ(test::ReadBytes(dir / "NUKEM2.CMP"), game);
}

} // namespace
} // namespace brivane
