#pragma once

#include <string>

namespace brivane {

// Where this system keeps a user's things, as the window needs them to find its settings.
struct UserFolders {
    std::string InstalledPrograms; // where an installed copy's executable is
    std::string Configuration;     // the user's settings folder for this program
    std::string StartFolder;       // where an installed copy opens first: home, or the user's Music
    // A file the installer leaves beside an installed copy wherever the user put it (Windows:
    // the uninstaller); empty where installing puts the program in one place only.
    std::string InstallMark;
};

UserFolders FoldersOfUser();

// Makes a folder and any parents it lacks; false when it could not be made.
bool MakeFolders(const std::string& path);

} // namespace brivane
