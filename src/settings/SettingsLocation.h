#pragma once

#include <string>

namespace brivane {

inline constexpr const char* kSettingsFileName = "Brivane.ini";

struct SettingsLocation {
    std::string File;           // the settings file to load and save
    std::string FolderToCreate; // the user's configuration folder, when it does not exist yet
    bool Installed = false;     // an installed copy: no folder stored means the home folder
};

// Where the window keeps its settings:
// - a "Brivane.ini" beside the executable is used wherever it is (a portable copy);
// - otherwise an executable in the installed binary folder (compared as canonical paths), or
//   beside the installer's mark, uses "Brivane.ini" in the user's configuration folder;
// - otherwise the file beside the executable, created there by the first save.
SettingsLocation LocateSettings(const std::string& executableFolder, const std::string& installedBinaryFolder,
                                const std::string& configurationFolder, const std::string& installMark = {});

struct WindowSettings {
    std::string File;          // as LocateSettings finds it for this copy of the program
    std::string DefaultFolder; // shown when no folder is stored: the user's music, or the program's own
};

// The window's settings for the running program, the user's configuration folder made when
// an installed copy needs it.
WindowSettings LocateWindowSettings();

} // namespace brivane
