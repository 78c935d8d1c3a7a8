// A settings file that cannot be saved: the user is told with the system's reason, the old
// file keeps its content, and no temporary file is left. The suite runs as root, which file
// modes do not stop, so those cases run in a child that has dropped to "nobody".
#include "settings/IniTestSupport.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace brivane {
namespace {

using test::Message;

const char* const kTitle = "Could not save INI file.";

std::string EditAsNobody(const std::string& path)
{
    return test::RunUnprivileged([&] {
        test::RecordingInteraction ui;
        clsINI ini(ui);
        ini.LoadINI(path);
        ini.WriteValue("General", "OriginalTics", "500");
        ini.WriteValue("General", "MakeBackups", "0");
        return test::Describe(ui.messages) + "kept:" + ini.ReadString("General", "OriginalTics");
    });
}

TEST(IniSaveFailureTest, AFolderThatDoesNotExist)
{
    test::TempDir dir;
    test::RecordingInteraction ui;
    clsINI ini(ui);
    ini.LoadINI(dir / "gone/Brivane.ini");
    ini.WriteValue("General", "OriginalTics", "280");
    EXPECT_EQ(ui.messages, (std::vector<Message>{
        {"clsINI.SaveFile: No such file or directory", kTitle, MessageStyle::Error}}));
    EXPECT_EQ(ini.ReadString("General", "OriginalTics"), "280") << "the document keeps the edit";
    EXPECT_TRUE(dir.Names().empty());
}

TEST(IniSaveFailureTest, AReadOnlyFileIsNotReplaced)
{
    test::TempDir dir;
    const std::string path = dir / "Brivane.ini";
    test::WriteText(path, "[General]\r\nOriginalTics=280\r\n");
    ::chmod(path.c_str(), 0444);
    test::GiveToNobody(path);
    const std::string line = std::string(kTitle) + " [16] clsINI.SaveFile: Permission denied\n";
    EXPECT_EQ(EditAsNobody(path), line + line + "kept:500");
    EXPECT_EQ(test::ReadText(path), "[General]\r\nOriginalTics=280\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"Brivane.ini"});
}

TEST(IniSaveFailureTest, AFolderWithoutWritePermission)
{
    test::TempDir dir;
    const std::string folder = dir / "settings";
    ::mkdir(folder.c_str(), 0555);
    const std::string path = folder + "/Brivane.ini";
    test::WriteText(path, "[General]\r\nOriginalTics=280\r\n");
    test::GiveToNobody(path);
    const std::string line = std::string(kTitle) + " [16] clsINI.SaveFile: Permission denied\n";
    EXPECT_EQ(EditAsNobody(path), line + line + "kept:500");
    EXPECT_EQ(test::ReadText(path), "[General]\r\nOriginalTics=280\r\n");
    ::chmod(folder.c_str(), 0777);
    EXPECT_EQ(test::TempDir::NamesIn(folder), std::vector<std::string>{"Brivane.ini"});
}

TEST(IniSaveFailureTest, ALinkIsFollowedAndTheFileItNamesReplaced)
{
    test::TempDir dir;
    test::WriteText(dir / "real.ini", "[General]\r\n");
    ASSERT_EQ(::symlink("real.ini", (dir / "Brivane.ini").c_str()), 0);
    test::RecordingInteraction ui;
    clsINI ini(ui);
    ini.LoadINI(dir / "Brivane.ini");
    ini.WriteValue("General", "Folder", "/x");
    struct stat info {};
    ::lstat((dir / "Brivane.ini").c_str(), &info);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(test::ReadText(dir / "real.ini"), "[General]\r\nFolder=/x\r\n");
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace brivane
