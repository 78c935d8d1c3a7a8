#include "platform/UserFolders.h"
#include "settings/SettingsLocation.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace brivane {
namespace {

TEST(SettingsLocationTest, APortableFileWinsThenTheInstalledFolderUsesTheUsersConfiguration)
{
    test::TempDir root;
    for (const char* folder : {"bin", "build", "config", "chosen"})
        ::mkdir((root / folder).c_str(), 0755);
    test::WriteText(root / "chosen/uninstall.exe", ""); // an installer's mark, wherever it installed
    ::symlink("bin", (root / "bin-link").c_str());
    const std::string config = root / "config";

    struct Case {
        const char* Name;
        std::string Executable;
        std::string Configuration;
        bool PortableFile;
        SettingsLocation Expected;
    };
    const std::vector<Case> cases{
        {"installed", root / "bin", config, false, {config + "/Brivane.ini", "", true}},
        {"installed, by another path", root / "bin-link", config, false, {config + "/Brivane.ini", "", true}},
        {"installed, no configuration folder yet", root / "bin", root / "fresh/Brivane", false,
         {root / "fresh/Brivane/Brivane.ini", root / "fresh/Brivane", true}},
        {"installed, but with a portable file", root / "bin", config, true, {root / "bin/Brivane.ini", "", false}},
        {"build folder", root / "build", config, false, {root / "build/Brivane.ini", "", false}},
        {"build folder with its file", root / "build", config, true, {root / "build/Brivane.ini", "", false}},
        {"installed into a folder of the user's choice", root / "chosen", config, false, {config + "/Brivane.ini", "", true}},
    };
    for (const Case& c : cases) {
        if (c.PortableFile)
            test::WriteText(c.Executable + "/Brivane.ini", "[General]\r\n");
        const SettingsLocation found = LocateSettings(c.Executable, root / "bin", c.Configuration, "uninstall.exe");
        EXPECT_EQ(found.File, c.Expected.File) << c.Name;
        EXPECT_EQ(found.FolderToCreate, c.Expected.FolderToCreate) << c.Name;
        EXPECT_EQ(found.Installed, c.Expected.Installed) << c.Name;
        ::unlink((c.Executable + "/Brivane.ini").c_str());
    }
}

TEST(SettingsLocationTest, TheUsersFoldersFollowTheDesktopsVariablesAndAreMadeWithTheirParents)
{
    test::TempDir root;
    struct Case {
        const char* Configuration; // XDG_CONFIG_HOME, or none
        std::string Expected;
    };
    const std::vector<Case> cases{
        {nullptr, root / "home/.config/Brivane"},
        {"", root / "home/.config/Brivane"},
        {"relative/config", root / "home/.config/Brivane"},
        {"/elsewhere/config", "/elsewhere/config/Brivane"},
    };
    const char* savedHome = std::getenv("HOME");
    const char* savedConfiguration = std::getenv("XDG_CONFIG_HOME");
    const std::string home = root / "home";
    ::setenv("HOME", home.c_str(), 1);
    for (const Case& c : cases) {
        c.Configuration ? ::setenv("XDG_CONFIG_HOME", c.Configuration, 1) : ::unsetenv("XDG_CONFIG_HOME");
        const UserFolders folders = FoldersOfUser();
        EXPECT_EQ(folders.Configuration, c.Expected) << (c.Configuration ? c.Configuration : "unset");
        EXPECT_EQ(folders.StartFolder, home);
    }
    savedHome ? ::setenv("HOME", savedHome, 1) : ::unsetenv("HOME");
    savedConfiguration ? ::setenv("XDG_CONFIG_HOME", savedConfiguration, 1) : ::unsetenv("XDG_CONFIG_HOME");

    EXPECT_TRUE(MakeFolders(root / "home/.config/Brivane"));
    EXPECT_TRUE(MakeFolders(root / "home/.config/Brivane")) << "a folder that is there already";
    test::WriteText(root / "file", "");
    EXPECT_FALSE(MakeFolders(root / "file")) << "a file is no folder";
    EXPECT_FALSE(MakeFolders(root / "file/below"));
}

} // namespace
} // namespace brivane
