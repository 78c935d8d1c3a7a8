#pragma once

#include "conversion/Conversion.h"
#include "interaction/UserInteraction.h"
#include "ui/shared/GameMusicView.h"
#include "ui/shared/LastShown.h"
#include "ui/shared/SongOutput.h"

#include <string>
#include <utility>
#include <vector>

namespace brivane {

// What the Game Music dialog does, for every toolkit: it lists the songs of the game files in
// the main window's folder, plays one at its game's rate, and extracts, replaces and restores
// with the command line's messages, shown in `boxes`. A headerless song to put in takes the
// rate `rates` give it, the main window's bar or game.
class GameMusicController {
public:
    GameMusicController(GameMusicView& view, UserInteraction& boxes, SongOutput& player, bool hasOutputDevice,
                        std::string folder, const Conversion& rates);

    // Reads the folder's game files, finishing any change of them a crash interrupted.
    void Start() { List({}); }
    void SelectionChanged() { Refresh(); }
    void PlayClicked();
    void StopClicked();
    void ExtractClicked();
    void ReplaceClicked();
    void RestoreClicked();
    // A button of game_music::Button other than Close, which the dialog itself answers.
    void ButtonClicked(int button);
    // The output stopped by itself, at the song's end.
    void PlaybackEnded();
    void ClockTicked();
    void Closing() { player_.Stop(); }

private:
    struct Listed {
        std::string Path;
        GameFile Game;
    };
    struct Place {
        const Listed* Game;
        const GameSong* Song;
    };
    // A song by its game file and number, which a new reading of the folder keeps.
    using SongKey = std::pair<std::string, std::size_t>;
    void List(const std::vector<SongKey>& keepSelected);
    std::vector<SongKey> SelectedKeys() const;
    std::vector<Place> Selected() const;
    void Tell(const GameReport& report, const std::string& title);
    void Refresh();

    GameMusicView& view_;
    UserInteraction& boxes_;
    SongOutput& player_;
    bool hasOutputDevice_;
    std::string folder_;
    Conversion rates_;
    std::vector<Listed> games_;
    std::vector<Place> rows_;
    std::string summary_;
    std::string playing_;
    LastShown<std::string> status_{std::string()}; // the status line starts empty
    LastShown<GameMusicButtons> buttons_;
};

} // namespace brivane
