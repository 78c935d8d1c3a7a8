#pragma once

#include "conversion/Conversion.h"
#include "conversion/GamePresets.h"
#include "ui/shared/StatusText.h"
#include "ui/shared/MainMenu.h"
#include "ui/shared/BatchRelay.h"

#include <cstddef>
#include <string>
#include <vector>

namespace brivane {

// The menus' check marks and the items that may be chosen.
struct MenuStates {
    bool MakeBackups = true;
    bool ExactTiming = false;
    bool CanPlay = false; // there is an output device
    bool CanStop = false; // a song plays
    const GamePreset* Game = nullptr;   // marked in Options > Game, or none
    const GamePreset* Target = nullptr; // marked in Options > Convert To
    bool operator==(const MenuStates&) const = default;

    // The check mark and the state of the item of a MenuCommand.
    bool Checked(int command) const;
    bool Enabled(int command) const;
};

// What the main window's controller asks of a toolkit's window: to show what it decides, and
// the few things only the controls know. Each front end implements it over its own controls.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    // The path label, shortened to fit, with the full path as its hover text.
    virtual void ShowFolder(const std::string& folder) = 0;
    // The song list filled anew, in this order; no song is current.
    virtual void ShowSongs(const std::vector<std::string>& names) = 0;
    // The scroll bar and the value beside it, without reporting the move back.
    virtual void ShowTics(int tics) = 0;
    virtual void ShowConvertCaption(const std::string& caption) = 0;
    virtual void ShowMenus(const MenuStates& menus) = 0;
    // The status bar: its short form, cut with an ellipsis where even that is too wide, and the
    // whole text as its tooltip.
    virtual void ShowStatus(const StatusText& text) = 0;

    // The rows of the selected songs, in any order.
    virtual std::vector<std::size_t> SelectedSongs() const = 0;
    virtual void SelectAllSongs() = 0;
    // The toolkit's folder picker; empty when the user cancels.
    virtual std::string ChooseFolder(const std::string& current) = 0;
    virtual void ShowAbout() = 0;
    // The Game Music dialog over the folder's game files, modal; a headerless song put into a
    // game takes the rate `rates` give it.
    virtual void ShowGameMusic(const std::string& folder, const Conversion& rates) = 0;
    virtual void CloseWindow() = 0;
    // Runs a batch beside the window (progress, Cancel, its messages as modal boxes) and
    // returns when it has ended.
    virtual void RunBatch(const BatchWork& work) = 0;
};

} // namespace brivane
