#pragma once

#include "games/GameSongTasks.h"
#include "songfile/ImfPaths.h"
#include "ui/shared/Twips.h"

#include <cstddef>
#include <string>
#include <vector>

namespace brivane {

// One line of the Game Music list: a song and the game file it is in.
struct GameMusicRow {
    std::string GameFile; // its name in the folder
    SongColumns Columns;
};

// Which of the dialog's buttons may be pressed.
struct GameMusicButtons {
    bool Play = false, Stop = false, Extract = false, Replace = false, Restore = false;
    bool operator==(const GameMusicButtons&) const = default;
    // Whether the button of that game_music::Button may be pressed; Close always may.
    bool Enabled(int button) const;
};

// What the Game Music dialog's controller asks of a toolkit's dialog.
class GameMusicView {
public:
    virtual ~GameMusicView() = default;

    // The list filled anew, in this order, with the rows in `selected` selected; the caret on
    // the first of them, or on the first row.
    virtual void ShowSongs(const std::vector<GameMusicRow>& rows, const std::vector<std::size_t>& selected) = 0;
    virtual void ShowStatus(const std::string& text) = 0;
    virtual void ShowButtons(const GameMusicButtons& buttons) = 0;
    // The rows of the selected songs, in any order.
    virtual std::vector<std::size_t> SelectedSongs() const = 0;
    // The toolkit's folder picker and file picker (songs and captures); empty when cancelled.
    virtual std::string ChooseFolder(const std::string& current) = 0;
    virtual std::string ChooseSongFile(const std::string& folder) = 0;
};

// The dialog's words and places, for both toolkits.
namespace game_music {

inline constexpr const char* kTitle = "Game Music";
inline constexpr const char* kColumns[] = {"Game File", "No.", "Song", "Layout", "Size", "Length"};
inline constexpr int kColumnTwips[] = {1300, 540, 1300, 1900, 1100, 1400};
inline constexpr const char* kExtractTitle = "Extract the songs to"; // the folder picker's
inline constexpr const char* kReplaceTitle = "Replace With";          // the file picker's
inline constexpr const char* kSongFilesName = "Songs and captures";

inline constexpr float kClientWidth = 10200, kClientHeight = 5280;
inline constexpr TwipRect kListPlace{120, 120, 8040, 4560};
inline constexpr TwipRect kStatusPlace{120, 4800, 9960, 360};

enum Button : int { kPlay, kStop, kExtract, kReplace, kRestore, kClose, kButtonCount };
struct ButtonDesign {
    const char* Caption;
    const char* Name;
};
inline constexpr ButtonDesign kButtons[kButtonCount] = {
    {"&Play", "cmdPlay"}, {"&Stop", "cmdStop"}, {"E&xtract To...", "cmdExtract"},
    {"&Replace With...", "cmdReplace"}, {"Restore &Originals", "cmdRestore"}, {"Close", "cmdClose"}};
// The buttons stand in a column right of the list; Close at its foot.
inline TwipRect ButtonPlace(int button)
{
    const float top = button == kClose ? kListPlace.Top + kListPlace.Height - 375 : 120 + 480.0f * button;
    return {8280, top, 1800, 375};
}

} // namespace game_music

inline bool GameMusicButtons::Enabled(int button) const
{
    using namespace game_music;
    switch (button) {
    case kPlay: return Play;
    case kStop: return Stop;
    case kExtract: return Extract;
    case kReplace: return Replace;
    case kRestore: return Restore;
    default: return true;
    }
}

} // namespace brivane
