#pragma once

#include "interaction/UserInteraction.h"
#include "ui/shared/LastShown.h"
#include "ui/shared/MainWindowSettings.h"
#include "ui/shared/MainWindowView.h"
#include "ui/shared/SongOutput.h"

#include <optional>
#include <string>
#include <vector>

namespace brivane {

// What the main window does, for every toolkit: start-up, the folder and its songs and which
// one is current, Convert, Play and Stop, the status bar's words, the menus' states and the
// settings every change writes at once. The window forwards its events here and shows what
// it is told through its MainWindowView; messages go to `boxes`.
class MainWindowController {
public:
    // The design value of the scroll bar, before the settings are applied.
    static constexpr int kDesignTics = 350;

    MainWindowController(MainWindowView& view, UserInteraction& boxes, SongOutput& player, bool hasOutputDevice);

    // Reads the settings and shows everything. A stored folder that is gone or cannot be read
    // shows `defaultFolder`, with a note; the stored key stays until the user picks another.
    void Start(const std::string& settingsFile, const std::string& defaultFolder);

    void BrowseClicked();
    void SelectAllClicked() { view_.SelectAllSongs(); }
    void ConvertClicked();
    // The user moved the scroll bar: every step is stored, and a headerless song that plays
    // takes the new tempo at once.
    void TicsMoved(int tics);
    // A menu item of MainMenus() was chosen.
    void MenuChosen(int command);
    // The list's current song: the one under its caret, or none.
    void CurrentSongChanged(std::optional<std::size_t> row);
    void PlayClicked();
    // The output stopped by itself, at the song's end.
    void PlaybackEnded();
    // A few times a second, so that the status bar follows what plays.
    void ClockTicked();
    void Closing() { player_.Stop(); }

    float TicScale() const { return ticScale_; }

private:
    void GameChosen(const GamePreset& game);
    void TargetChosen(const GamePreset& target);
    void GameMusicChosen();
    void RelistSongs();
    std::string CurrentSongPath() const;
    void ShowFolderAndSongs(const std::string& folder);
    void ShowChoice();
    void SetNote(const std::string& note);
    void Refresh();

    MainWindowView& view_;
    UserInteraction& boxes_;
    SongOutput& player_;
    bool hasOutputDevice_;
    MainWindowSettings settings_;
    std::string folder_;
    std::vector<std::string> songs_; // names as the file system holds them, in list order
    std::optional<std::size_t> current_;
    float ticScale_ = 0;
    bool playingHeaderless_ = false;
    std::string playingName_;
    std::string note_;
    LastShown<StatusText> status_{StatusText()}; // the status bar starts empty
    LastShown<MenuStates> menus_;
};

} // namespace brivane
