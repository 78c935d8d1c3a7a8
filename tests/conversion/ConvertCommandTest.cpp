#include "conversion/ConvertCommand.h"
#include "songfile/ImfPaths.h"
#include "conversion/TicScale.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace brivane {
namespace {

using test::Message;

TEST(ConvertCommandTest, ConvertsInTheOrderGivenAndAlwaysEndsWithComplete)
{
    test::TempDir dir;
    test::WriteBytes(dir / "a.imf", {0, 0, 1, 0});
    test::WriteBytes(dir / "c.imf", {4, 0, 1, 0, 0, 0});
    const std::vector<std::string> paths{JoinPath(dir.Path(), "c.imf"), JoinPath(dir.Path(), "b.imf"),
                                         JoinPath(dir.Path(), "a.imf")};
    int backupReads = 0;
    test::RecordingInteraction ui;
    const auto outcomes = ConvertFiles(paths, ToWolfenstein(280), [&] { ++backupReads; return false; }, ui);

    EXPECT_EQ(outcomes, (std::vector<ConversionOutcome>{ConversionOutcome::AlreadyCompatible,
                                                        ConversionOutcome::NotFound,
                                                        ConversionOutcome::Converted}));
    EXPECT_EQ(backupReads, 3) << "the option is read afresh for every file";
    EXPECT_EQ(ui.messages, (std::vector<Message>{
        {"c.imf is already compatible with Wolfenstein 3D.", "Already compatible", MessageStyle::Information},
        {"Could not find " + dir / "b.imf" + "!", "File not found", MessageStyle::Error},
        {"Conversion complete!", "Complete", MessageStyle::Information}}));
}

TEST(ConvertCommandTest, NoFilesStillReportsCompletion)
{
    test::RecordingInteraction ui;
    EXPECT_TRUE(ConvertFiles({}, ToWolfenstein(700), [] { return true; }, ui).empty());
    EXPECT_EQ(ui.messages, (std::vector<Message>{{"Conversion complete!", "Complete", MessageStyle::Information}}));
}

TEST(ConvertCommandTest, PathsJoinWithASlashAndShowTheNameAfterTheLast)
{
    const std::string slash(1, PathSeparator());
    EXPECT_EQ(JoinPath("/music", "SONG.IMF"), "/music" + slash + "SONG.IMF");
    EXPECT_EQ(JoinPath("/", "SONG.IMF"), "/" + slash + "SONG.IMF");
    EXPECT_EQ(DisplayName("/music/dn2/SONG.IMF"), "SONG.IMF");
    EXPECT_EQ(DisplayName("SONG.IMF"), "SONG.IMF");
    EXPECT_EQ(BackupPathFor("/m/SONG.IMF"), "/m/SONG.IMF.bak");
}

} // namespace
} // namespace brivane
