#include "conversion/ConvertCommand.h"
#include "conversion/ConvertImf.h"
#include "conversion/TicScale.h"
#include "platform/FileSystem.h"
#include "support/RecordingInteraction.h"
#include "support/Songs.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/sysmacros.h>
#include <sys/file.h>
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
        return ConvertImf(Song(), ToWolfenstein(tics), backups, ui);
    }

    test::TempDir dir;
    test::RecordingInteraction ui;
};

TEST_F(ConvertImfTest, ConvertsTheWorkedExampleAndKeepsTheOriginalAsBackup)
{
    WriteBytes(Song(), kWorkedExample);
    const decltype(stat::st_mtim) written[2] = {{1000000000, 5}, {1100000000, 7}};
    ASSERT_EQ(::utimensat(AT_FDCWD, Song().c_str(), written, 0), 0);
    EXPECT_EQ(Convert(), ConversionOutcome::Converted);
    EXPECT_EQ(ReadBytes(Song()), kWorkedResult);
    EXPECT_EQ(ReadBytes(Backup()), kWorkedExample);
    struct stat backup {};
    ASSERT_EQ(::stat(Backup().c_str(), &backup), 0);
    EXPECT_EQ(backup.st_mtim.tv_sec, 1100000000) << "the backup keeps the song's time, as cp -p would";
    EXPECT_EQ(backup.st_mtim.tv_nsec, 7);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"SONG.IMF", "SONG.IMF.bak"}));
}

TEST_F(ConvertImfTest, OutputIsTheLengthWordThenTheRescaledStream)
{
    for (std::size_t length : {4u, 5u, 100u, 20001u, 40002u, 60003u, 65535u}) {
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
        {"SONG.IMF is already compatible with Wolfenstein 3D.", "Already compatible", MessageStyle::Information}}));
    EXPECT_EQ(ReadBytes(Song()), kWorkedResult);
}

struct RevertCase {
    const char* Name;
    std::deque<UserAnswer> Answers;
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
    const Message question{"SONG.IMF is already compatible with Wolfenstein 3D.\n"
                           "Do you wish to revert to your backup copy and reconvert it?",
                           "Reconvert?", MessageStyle::Question};
    ASSERT_EQ(ui.messages, std::vector<Message>{question});
    const Bytes at700{8, 0, 0, 0, 0, 0, 0x20, 1, 3, 0};
    EXPECT_EQ(ReadBytes(Song()), GetParam().Reconverted ? at700 : kWorkedResult);
    EXPECT_EQ(ReadBytes(Backup()), kWorkedExample);
}

INSTANTIATE_TEST_SUITE_P(Answers, ConvertImfRevertTest, ::testing::Values(
    RevertCase{"Yes", {UserAnswer::Yes}, ConversionOutcome::Converted, true},
    RevertCase{"No", {UserAnswer::No}, ConversionOutcome::Declined, false},
    RevertCase{"OkIsNotYes", {UserAnswer::Ok}, ConversionOutcome::Declined, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ConvertImfTest, ABackupThatCannotBeTheSongsOriginalIsNotRestoredBlindly)
{
    const std::string compatible = "SONG.IMF is already compatible with Wolfenstein 3D.\n";
    const std::string question = "Do you wish to revert to your backup copy and reconvert it?";
    struct Case {
        const char* Name;
        Bytes Backup;
        Message Shown;
        Bytes SongAfterYes;
    };
    const Bytes older{0, 0, 0, 0, 0x20, 1, 3, 0, 0x20, 2, 1, 0};
    const std::vector<Case> cases{
        {"empty", {}, {compatible + "Its backup SONG.IMF.bak cannot be restored: it is empty.", "Already compatible",
                       MessageStyle::Information}, kWorkedResult},
        {"one non-zero byte, read as a length word", {5},
         {compatible + "Its backup SONG.IMF.bak cannot be restored: it holds no whole record.",
          "Already compatible", MessageStyle::Information}, kWorkedResult},
        {"converted itself", kWorkedResult,
         {compatible + "Its backup SONG.IMF.bak cannot be restored: it is already compatible with Wolfenstein 3D itself.",
          "Already compatible", MessageStyle::Information}, kWorkedResult},
        {"of another size",  older,
         {compatible + "The backup holds 3 records, but this song holds 2: it may be the backup of another song.\n" +
              question, "Reconvert?", MessageStyle::Question},
         test::ReferenceConversion(older, 280)},
        {"its own original", kWorkedExample, {compatible + question, "Reconvert?", MessageStyle::Question}, kWorkedResult},
    };
    for (const Case& c : cases) {
        WriteBytes(Song(), kWorkedResult);
        WriteBytes(Backup(), c.Backup);
        ui = test::RecordingInteraction({UserAnswer::Yes});
        Convert(280, false);
        ASSERT_FALSE(ui.messages.empty()) << c.Name;
        EXPECT_EQ(ui.messages.front(), c.Shown) << c.Name;
        EXPECT_EQ(ReadBytes(Song()), c.SongAfterYes) << c.Name;
        EXPECT_EQ(ReadBytes(Backup()), c.Backup) << c.Name;
    }
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
         {"SONG.IMF is empty; there is nothing to convert.", "Empty file", MessageStyle::Information}},
        {"65536 bytes", Bytes(65536, 0), ConversionOutcome::TooLong,
         {"Could not convert " + Song() + ": it is longer than 65535 bytes, the most the Wolfenstein 3-D "
          "layout can hold.", "File too long", MessageStyle::Error}},
        {"70000 bytes", Bytes(70000, 0), ConversionOutcome::TooLong,
         {"Could not convert " + Song() + ": it is longer than 65535 bytes, the most the Wolfenstein 3-D "
          "layout can hold.", "File too long", MessageStyle::Error}},
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
    EXPECT_EQ(ui.messages, (std::vector<Message>{{"Could not find " + Song() + "!", "File not found", MessageStyle::Error}}));
}

TEST_F(ConvertImfTest, ABackupPathThatIsNotARegularFileIsNeverWrittenThrough)
{
    ::mkdir((dir / "elsewhere").c_str(), 0777);
    const std::string document = dir / "elsewhere/document.txt";
    const std::vector<std::pair<std::string, std::function<void()>>> plants{
        {"a symbolic link", [&] { ::symlink(document.c_str(), Backup().c_str()); }},
        {"a symbolic link", [&] { ::symlink("nowhere", Backup().c_str()); }},
        {"a directory", [&] { ::mkdir(Backup().c_str(), 0777); }},
        {"a FIFO", [&] { ::mkfifo(Backup().c_str(), 0666); }},
        {"a socket", [&] { ::mknod(Backup().c_str(), S_IFSOCK | 0666, 0); }},
        {"a device", [&] { ::mknod(Backup().c_str(), S_IFCHR | 0666, ::makedev(1, 3)); }},
    };
    for (const auto& [kind, plant] : plants) {
        WriteBytes(document, {'k', 'e', 'e', 'p'});
        WriteBytes(Song(), kWorkedExample);
        plant();
        ui.messages.clear();
        EXPECT_EQ(Convert(), ConversionOutcome::Failed) << kind;
        EXPECT_EQ(ui.messages, (std::vector<Message>{{"Could not convert " + Song() + ": could not write the backup " + Backup() +
                                                      ": it is " + kind + "; Brivane writes backups only as regular files",
                                                      "Conversion failed", MessageStyle::Error}}));
        EXPECT_EQ(ReadBytes(Song()), kWorkedExample) << kind;
        EXPECT_EQ(ReadBytes(document), (Bytes{'k', 'e', 'e', 'p'})) << kind;

        // A converted song is not reverted from a link either.
        if (kind == "a symbolic link") {
            WriteBytes(document, kWorkedExample);
            WriteBytes(Song(), kWorkedResult);
            ui.messages.clear();
            EXPECT_EQ(Convert(), ConversionOutcome::AlreadyCompatible);
        }
        std::filesystem::remove_all(Backup());
    }
}

TEST_F(ConvertImfTest, LookupsThatFailForAnotherReasonThanAbsenceAreNotReadable)
{
    ASSERT_EQ(::symlink("loop", (dir / "loop").c_str()), 0);
    const std::vector<std::pair<std::string, std::string>> cases{
        {dir / "loop", "Too many levels of symbolic links"},
        {dir / std::string(256, 'x'), "File name too long"},
    };
    for (const auto& [path, reason] : cases) {
        ui.messages.clear();
        EXPECT_EQ(ConvertImf(path, ToWolfenstein(280), true, ui), ConversionOutcome::Unreadable);
        EXPECT_EQ(ui.messages, (std::vector<Message>{{"Could not read " + path + ": " + reason, "File not readable",
                                                      MessageStyle::Error}}));
    }
}

TEST_F(ConvertImfTest, SongsWithTheLongestNamesConvert)
{
    for (const std::size_t length : {239u, 250u, 251u}) {
        const std::string song = dir / (std::string(length, 's') + ".IMF");
        WriteBytes(song, kWorkedExample);
        ASSERT_EQ(ConvertImf(song, ToWolfenstein(280), false, ui), ConversionOutcome::Converted) << length;
        EXPECT_EQ(ReadBytes(song), kWorkedResult);
    }
    EXPECT_TRUE(ui.messages.empty()) << test::Describe(ui.messages);
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

TEST_F(ConvertImfTest, TemporaryFilesLeftByKilledRunsGoButALiveOneStays)
{
    WriteBytes(Song(), kWorkedExample);
    WriteBytes(dir / ".SONG.IMF.brivane-tmp", {1, 2, 3});          // an older run's fixed name
    WriteBytes(dir / ".SONG.IMF.bak.k1ll3d0000.brivane-tmp", {4, 5, 6});
    const std::string live = dir / ".OTHER.IMF.l1ve000000.brivane-tmp";
    WriteBytes(live, {7});
    const int held = ::open(live.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    ConvertFiles({Song()}, ToWolfenstein(280), [] { return true; }, ui);
    ::close(held);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{".OTHER.IMF.l1ve000000.brivane-tmp", "SONG.IMF", "SONG.IMF.bak"}));
    EXPECT_EQ(ReadBytes(Song()), kWorkedResult);
}

TEST_F(ConvertImfTest, EveryModeBitOfTheSongAndTheOldBackupIsKept)
{
    const ::mode_t umask = ::umask(022);
    for (const ::mode_t mode : {0600u, 0640u, 0666u, 0777u, 02755u}) {
        WriteBytes(Song(), kWorkedExample);
        WriteBytes(Backup(), kWorkedExample);
        ::chmod(Song().c_str(), mode);
        ::chmod(Backup().c_str(), mode ^ 0004);
        ASSERT_EQ(Convert(), ConversionOutcome::Converted);
        struct stat song {}, backup {};
        ::stat(Song().c_str(), &song);
        ::stat(Backup().c_str(), &backup);
        EXPECT_EQ(song.st_mode & 07777, mode);
        EXPECT_EQ(backup.st_mode & 07777, mode ^ 0004);
    }
    ::umask(umask);
}

TEST_F(ConvertImfTest, RootKeepsTheOwnerOfAnotherUsersSongAndBackup)
{
    test::GiveToNobody(dir.Path());
    test::RunUnprivileged([&] { WriteBytes(Song(), kWorkedExample); return std::string(); });
    struct stat before {};
    ::stat(Song().c_str(), &before);
    ASSERT_EQ(Convert(), ConversionOutcome::Converted);
    for (const std::string& path : {Song(), Backup()}) {
        struct stat after {};
        ::stat(path.c_str(), &after);
        EXPECT_EQ(after.st_uid, before.st_uid) << path;
        EXPECT_EQ(after.st_gid, before.st_gid) << path;
    }
}

} // namespace
} // namespace brivane
