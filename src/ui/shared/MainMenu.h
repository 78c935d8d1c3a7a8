#pragma once

#include <string>
#include <vector>

namespace brivane {

// What each menu item asks for; the Win32 window uses these as its command IDs.
enum MenuCommand : int {
    kFileExit = 200,
    kOptionsMakeBackups,
    kHelpAbout,
    kPlayPlaySong,
    kPlayStop,
    kOptionsExactTiming,
    kOptionsGameMusic,
    kOptionsGame = 300,      // + the game's index
    kOptionsConvertTo = 400, // + the target's index
};

// One item of the main window's menus, or a menu of items: the caption with its access key,
// the control's name, and the key that chooses it from anywhere in the window.
struct MenuEntry {
    std::string Caption;
    std::string Name;
    int Command = 0; // 0 for a menu
    std::string Shortcut; // "Ctrl+P", "Esc", or empty
    bool Checkable = false;
    std::vector<MenuEntry> Items;
};

// The menu bar, in order, for both windows.
const std::vector<MenuEntry>& MainMenus();

struct GamePreset;
// The game of a command of the Game (first = kOptionsGame) or Convert To menu, or none.
const GamePreset* GameOfCommand(int command, int first);

// Make Backups' status tip: what a user gives up by turning backups off.
inline constexpr const char* kMakeBackupsTip =
    "Keep a copy of each song as NAME.bak before converting it. Without backups, a song converted before cannot be "
    "told from an original of the same layout, and converting it again changes it again.";

} // namespace brivane
