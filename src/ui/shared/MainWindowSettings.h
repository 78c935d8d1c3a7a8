#pragma once

#include "conversion/ConversionChoice.h"
#include "interaction/UserInteraction.h"
#include "settings/clsINI.h"

#include <string>

namespace brivane {

// What the main window keeps in its settings file, for every front end: the keys and their
// defaults, what start-up reads, and the write each change makes at once. It holds the
// choices for a Convert command; the front ends only show them.
class MainWindowSettings {
public:
    explicit MainWindowSettings(UserInteraction& ui) : objINI(ui), ui_(ui) {}

    // Reads the file and everything start-up needs. A file that cannot be read is reported
    // and never saved over: saving what little was read would replace it with a partial one.
    void Load(const std::string& settingsFile);

    // The stored folder, or nothing when none is stored; the controller checks that it opens.
    std::string StoredFolder() const;
    // A stored rate out of range is clamped; the controller's first TicsChanged writes it back.
    int Tics() const { return startTics_; }
    bool MakeBackups() const { return makeBackups_; }
    const ConversionChoice& Choice() const { return choice_; }

    void FolderChosen(const std::string& folder);
    // The scroll bar moved: stores the rate, and forgets a game whose rate it no longer shows.
    void TicsChanged(int tics);
    // A game moves the bar to its rate; the controller then reports that move with TicsChanged.
    void GameChosen(const GamePreset& game);
    void TargetChosen(const GamePreset& target);
    void MakeBackupsChanged(bool on);
    void ExactTimingChanged(bool on);

    // "The folder X cannot be opened; showing Y instead."
    static std::string FolderNote(const std::string& stored, const std::string& shown);

private:
    clsINI objINI;
    UserInteraction& ui_;
    ConversionChoice choice_;
    int startTics_ = kDefaultOriginalTics;
    bool makeBackups_ = true;
};

} // namespace brivane
