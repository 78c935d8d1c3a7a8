// Faults the user's disk can throw at a conversion. The suite runs as root, which file modes
// do not stop, so the conversion runs in a child that has dropped to "nobody", or in the
// real command-line tool under a file-size limit.
#include "conversion/ConvertCommand.h"
#include "conversion/TicScale.h"
#include "support/Process.h"
#include "support/RecordingInteraction.h"
#include "support/Songs.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

namespace brivane {
namespace {

using test::Bytes;

struct FaultCase {
    const char* Name;
    // Prepares the faulty song's folder; returns the message expected for it.
    std::function<std::string(const std::string& folder, const std::string& song)> Arrange;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.Name; }

class ConversionFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ConversionFaultTest, ReportsTheFaultGoesOnAndLosesNoByte)
{
    test::TempDir root;
    const std::string faulty = root / "faulty";
    const std::string good = root / "good";
    ::mkdir(faulty.c_str(), 0777);
    ::mkdir(good.c_str(), 0777);
    test::GiveToNobody(good);

    const Bytes song = test::MakeHeaderlessSong(4000, 1);
    const Bytes oldBackup{0, 7, 7}; // no song: replaced without a question
    const std::string faultySong = faulty + "/SONG.IMF";
    test::WriteBytes(faultySong, song);
    test::WriteBytes(faultySong + ".bak", oldBackup);
    test::GiveToNobody(faultySong);
    test::GiveToNobody(faultySong + ".bak");
    test::WriteBytes(good + "/OTHER.IMF", song);
    test::GiveToNobody(good + "/OTHER.IMF");
    const std::string expected = GetParam().Arrange(faulty, faultySong) +
                                 "Complete [64] Conversion complete!\n";

    const std::string seen = test::RunUnprivileged([&] {
        test::RecordingInteraction ui;
        ConvertFiles({faultySong, good + "/OTHER.IMF"}, ToWolfenstein(280), [] { return true; }, ui);
        return test::Describe(ui.messages);
    });

    EXPECT_EQ(seen, expected);
    ::chmod(faulty.c_str(), 0777);
    ::chmod(faultySong.c_str(), 0666);
    EXPECT_EQ(test::ReadBytes(faultySong), song);
    if (!std::filesystem::is_directory(faultySong + ".bak")) {
        EXPECT_EQ(test::ReadBytes(faultySong + ".bak"), oldBackup);
    }
    EXPECT_EQ(test::ReadBytes(good + "/OTHER.IMF"), test::ReferenceConversion(song, 280));
    for (const auto& entry : std::filesystem::directory_iterator(faulty))
        EXPECT_EQ(entry.path().filename().string().find(".brivane-tmp"), std::string::npos) << entry.path();
}

INSTANTIATE_TEST_SUITE_P(Faults, ConversionFaultTest, ::testing::Values(
    FaultCase{"FolderNotWritable", [](const std::string& folder, const std::string& song) {
        ::chmod(folder.c_str(), 0555);
        return "Conversion failed [16] Could not convert " + song +
               ": could not create a temporary file for the backup " + song + ".bak: Permission denied\n";
    }},
    FaultCase{"FolderNotSearchable", [](const std::string& folder, const std::string& song) {
        ::chmod(folder.c_str(), 0666);
        return "File not readable [16] Could not read " + song + ": Permission denied\n";
    }},
    FaultCase{"SongNotReadable", [](const std::string&, const std::string& song) {
        ::chmod(song.c_str(), 0200);
        return "File not readable [16] Could not read " + song + ": Permission denied\n";
    }},
    FaultCase{"SongReadOnly", [](const std::string& folder, const std::string& song) {
        test::GiveToNobody(folder);
        ::chmod(song.c_str(), 0444);
        return "Conversion failed [16] Could not convert " + song +
               ": could not write the converted file: Permission denied\n";
    }},
    FaultCase{"BackupIsAFolder", [](const std::string& folder, const std::string& song) {
        test::GiveToNobody(folder);
        ::unlink((song + ".bak").c_str());
        ::mkdir((song + ".bak").c_str(), 0777);
        return "Conversion failed [16] Could not convert " + song + ": could not write the backup " + song +
               ".bak: it is a directory; Brivane writes backups only as regular files\n";
    }}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(DiskFullTest, AWriteCutShortByTheDiskIsReportedAndTheSongAndItsBackupKept)
{
    test::TempDir dir;
    const Bytes big = test::MakeHeaderlessSong(8000, 3);
    const Bytes small = test::MakeHeaderlessSong(100, 4);
    // Its backup fits under the limit, its converted form two bytes longer does not.
    const Bytes edge = test::MakeHeaderlessSong(4096, 5);
    const Bytes junk{1, 2, 3};
    test::WriteBytes(dir / "BIG.IMF", big);
    test::WriteBytes(dir / "SMALL.IMF", small);
    test::WriteBytes(dir / "EDGE.IMF", edge);
    test::WriteBytes(dir / "JUNK.IMF", edge);
    test::WriteBytes(dir / "JUNK.IMF.bak", junk);

    const test::ProcessResult result = test::RunProgram(
        {test::CliPath(), "convert", dir / "BIG.IMF", dir / "SMALL.IMF", dir / "EDGE.IMF", dir / "JUNK.IMF"}, [] {
            const rlimit limit{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });

    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Err, "Conversion failed: Could not convert " + dir / "BIG.IMF" +
                              ": could not write the backup " + dir / "BIG.IMF.bak" + ": File too large\n"
                              "Conversion failed: Could not convert " + dir / "EDGE.IMF" +
                              ": could not write the converted file: File too large\n"
                              "Conversion failed: Could not convert " + dir / "JUNK.IMF" +
                              ": could not write the converted file: File too large\n");
    EXPECT_EQ(result.Out, "Complete: Conversion complete!\n1 converted, 3 failed\n");
    EXPECT_EQ(test::ReadBytes(dir / "BIG.IMF"), big);
    EXPECT_EQ(test::ReadBytes(dir / "EDGE.IMF"), edge);
    EXPECT_EQ(test::ReadBytes(dir / "JUNK.IMF.bak"), junk) << "the old backup is put back";
    EXPECT_EQ(test::ReadBytes(dir / "SMALL.IMF"), test::ReferenceConversion(small, 280));
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"BIG.IMF", "EDGE.IMF", "JUNK.IMF", "JUNK.IMF.bak", "SMALL.IMF",
                                                     "SMALL.IMF.bak"}));
}

} // namespace
} // namespace brivane
