#include "conversion/ConvertImf.h"
#include "conversion/TicScale.h"
#include "platform/FileSystem.h"
#include "support/RecordingInteraction.h"
#include "support/Songs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace brivane {
namespace {

using test::Bytes;
using test::Message;
using test::ReadBytes;
using test::WriteBytes;

const Bytes kWorkedExample{0, 0, 0, 0, 0x20, 1, 3, 0};
const Bytes kWorkedResult{8, 0, 0, 0, 0, 0, 0x20, 1, 8, 0};

class ConvertImfTest : public ::testing::Test {
protected:
    std::string Song() const { return dir / "SONG.IMF"; }
    std::string Backup() const { return dir / "SONG.IMF.bak"; }

    ConversionOutcome Convert(int tics = 280, bool backups = true)
    {
        return ConvertImf(Song(), TicScaleFor(tics), backups, ui);
    }

    test::TempDir dir;
    test::RecordingInteraction ui;
};

TEST_F(ConvertImfTest, ConvertsTheWorkedExampleAndKeepsTheOriginalAsBackup)
{
    WriteBytes(Song(), kWorkedExample);
    EXPECT_EQ(Convert(), ConversionOutcome::Converted);
    EXPECT_EQ(ReadBytes(Song()), kWorkedResult);
    EXPECT_EQ(ReadBytes(Backup()), kWorkedExample);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"SONG.IMF", "SONG.IMF.bak"}));
}

TEST_F(ConvertImfTest, OutputIsTheLengthWordThenTheRescaledStream)
{
    for (std::size_t length : {1u, 2u, 3u, 100u, 20001u, 40002u, 60003u, 65535u}) {
        const Bytes song = test::MakeHeaderlessSong(length, static_cast<std::uint32_t>(length));
        WriteBytes(Song(), song);
        ASSERT_EQ(Convert(300, false), ConversionOutcome::Converted) << length;
        EXPECT_EQ(ReadBytes(Song()), test::ReferenceConversion(song, 300)) << length;
    }
    WriteBytes(Song(), Bytes(100, 0));
    Convert();
    const Bytes converted = ReadBytes(Song());
    EXPECT_EQ(converted.size(), 102u);
    EXPECT_EQ(converted[0], 0x64);
    EXPECT_EQ(converted[1], 0x00);
}

TEST_F(ConvertImfTest, BackupOptionDecidesWhetherTheOldBackupIsReplaced)
{
    WriteBytes(Backup(), {9, 9, 9});
    WriteBytes(Song(), kWorkedExample);
    Convert(280, false);
    EXPECT_EQ(ReadBytes(Backup()), (Bytes{9, 9, 9})) << "backups off leave an old backup alone";

    WriteBytes(Song(), kWorkedExample);
    Convert(280, true);
    EXPECT_EQ(ReadBytes(Backup()), kWorkedExample) << "backups on replace the old backup";
}

TEST_F(ConvertImfTest, ConvertedFilesAreNotConvertedAgain)
{
    WriteBytes(Song(), kWorkedExample);
    Convert(280, false);
    EXPECT_EQ(Convert(), ConversionOutcome::AlreadyCompatible);
    EXPECT_EQ(ui.messages, (std::vector<Message>{
        {"SONG.IMF is already compatible with Wolfenstein 3D.", "Already compatible", MB_ICONINFORMATION}}));
    EXPECT_EQ(ReadBytes(Song()), kWorkedResult);
}

struct RevertCase {
    const char* Name;
    std::deque<int> Answers;
    ConversionOutcome Outcome;
    bool Reconverted;
};

void PrintTo(const RevertCase& c, std::ostream* os) { *os << c.Name; }

class ConvertImfRevertTest : public ConvertImfTest, public ::testing::WithParamInterface<RevertCase> {};

TEST_P(ConvertImfRevertTest, OnlyYesRestoresTheBackupAndConvertsAfresh)
{
    WriteBytes(Song(), kWorkedExample);
    Convert(280);
    ui = test::RecordingInteraction(GetParam().Answers);

    EXPECT_EQ(Convert(700), GetParam().Outcome);
    const Message question{"SONG.IMF is already compatible with Wolfenstein 3D.\r\n"
                           "Do you wish to revert to your backup copy and reconvert it?",
                           "Reconvert?", MB_ICONQUESTION_YESNO};
    ASSERT_EQ(ui.messages, std::vector<Message>{question});
    const Bytes at700{8, 0, 0, 0, 0, 0, 0x20, 1, 3, 0};
    EXPECT_EQ(ReadBytes(Song()), GetParam().Reconverted ? at700 : kWorkedResult);
    EXPECT_EQ(ReadBytes(Backup()), kWorkedExample);
}

INSTANTIATE_TEST_SUITE_P(Answers, ConvertImfRevertTest, ::testing::Values(
    RevertCase{"Yes", {IDYES}, ConversionOutcome::Converted, true},
    RevertCase{"No", {IDNO}, ConversionOutcome::Declined, false},
    RevertCase{"OkIsNotYes", {IDOK}, ConversionOutcome::Declined, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ConvertImfTest, AConvertedBackupBringsTheQuestionBackUntilNo)
{
    WriteBytes(Song(), kWorkedResult);
    WriteBytes(Backup(), kWorkedResult);
    ui = test::RecordingInteraction({IDYES, IDYES, IDNO});
    EXPECT_EQ(Convert(), ConversionOutcome::Declined);
    EXPECT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ReadBytes(Song()), kWorkedResult);
}

TEST_F(ConvertImfTest, FilesThatCannotBeConvertedAreReportedAndLeftAlone)
{
    struct Case {
        const char* Name;
        Bytes Content;
        ConversionOutcome Outcome;
        Message Shown;
    };
    const std::vector<Case> cases{
        {"empty", {}, ConversionOutcome::Empty,
         {"SONG.IMF is empty; there is nothing to convert.", "Empty file", MB_ICONINFORMATION}},
        {"65536 bytes", Bytes(65536, 0), ConversionOutcome::TooLong,
         {"Could not convert " + Song() + ": it is longer than 65535 bytes, the most the Wolfenstein 3D "
          "layout can hold.", "File too long", MB_ICONHAND}},
        {"70000 bytes", Bytes(70000, 0), ConversionOutcome::TooLong,
         {"Could not convert " + Song() + ": it is longer than 65535 bytes, the most the Wolfenstein 3D "
          "layout can hold.", "File too long", MB_ICONHAND}},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        WriteBytes(Song(), c.Content);
        EXPECT_EQ(Convert(), c.Outcome) << c.Name;
        EXPECT_EQ(ui.messages, std::vector<Message>{c.Shown}) << c.Name;
        EXPECT_EQ(ReadBytes(Song()), c.Content) << c.Name;
        EXPECT_FALSE(test::Exists(Backup())) << c.Name;
    }

    ui.messages.clear();
    ::unlink(Song().c_str());
    EXPECT_EQ(Convert(), ConversionOutcome::NotFound);
    EXPECT_EQ(ui.messages, (std::vector<Message>{{"Could not find " + Song() + "!", "File not found", MB_ICONHAND}}));
}

TEST_F(ConvertImfTest, ALinkIsFollowedAndStaysALink)
{
    ::mkdir((dir / "real").c_str(), 0777);
    WriteBytes(dir / "real/target.imf", kWorkedExample);
    ASSERT_EQ(::symlink("real/target.imf", Song().c_str()), 0);
    EXPECT_EQ(Convert(280, false), ConversionOutcome::Converted);

    struct stat info {};
    ASSERT_EQ(::lstat(Song().c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadBytes(dir / "real/target.imf"), kWorkedResult);
}

TEST_F(ConvertImfTest, ATemporaryFileLeftByAKilledRunIsRemovedByTheNextConversion)
{
    WriteBytes(Song(), kWorkedExample);
    WriteBytes(TemporaryPathFor(Song()), {1, 2, 3});
    WriteBytes(TemporaryPathFor(Backup()), {4, 5, 6});
    EXPECT_EQ(Convert(), ConversionOutcome::Converted);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"SONG.IMF", "SONG.IMF.bak"}));
    EXPECT_EQ(ReadBytes(Song()), kWorkedResult);
}

TEST_F(ConvertImfTest, PermissionsOfTheSongAreKept)
{
    WriteBytes(Song(), kWorkedExample);
    ::chmod(Song().c_str(), 0640);
    Convert();
    struct stat info {};
    ::stat(Song().c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

} // namespace
} // namespace brivane
