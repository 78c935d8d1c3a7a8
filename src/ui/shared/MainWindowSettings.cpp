#include "ui/shared/MainWindowSettings.h"

#include "platform/FileError.h"
#include "platform/StoredPaths.h"

#include <algorithm>

namespace brivane {
namespace {

const std::string kSection = "General";
const std::string kFolderKey = "Folder";
const std::string kTicsKey = "OriginalTics";
const std::string kBackupsKey = "MakeBackups";
const std::string kGameKey = "Game";
const std::string kTargetKey = "Target";
const std::string kExactKey = "ExactTiming";

} // namespace

void MainWindowSettings::Load(const std::string& settingsFile)
{
    try {
        objINI.LoadINI(settingsFile);
    } catch (const FileError& error) {
        objINI.AllowSaveFile(false);
        ui_.ShowMessage("Could not read the settings file " + settingsFile + ": " + error.Reason(),
                        "Settings not loaded", MessageStyle::Error);
    }
    startTics_ = std::clamp<int>(objINI.ReadLong(kSection, kTicsKey, kDefaultOriginalTics), kMinOriginalTics,
                                 kMaxOriginalTics);
    choice_.SetTics(startTics_);
    // The game and the target are stored only once the user has chosen them; a stored game
    // counts only while the bar still shows its rate.
    if (const GamePreset* game = FindGamePreset(objINI.ReadString(kSection, kGameKey));
        game && game->OriginalTics == startTics_)
        choice_.ChooseGame(*game);
    if (const GamePreset* target = FindGamePreset(objINI.ReadString(kSection, kTargetKey, "wolf3d")))
        choice_.ChooseTarget(*target);
    makeBackups_ = objINI.ReadLong(kSection, kBackupsKey, 1) == 1;
    choice_.SetExactTiming(objINI.ReadLong(kSection, kExactKey, 0) == 1);
}

std::string MainWindowSettings::StoredFolder() const
{
    return PathFromSettings(objINI.ReadString(kSection, kFolderKey));
}

void MainWindowSettings::FolderChosen(const std::string& folder)
{
    objINI.WriteValue(kSection, kFolderKey, PathForSettings(folder));
}

void MainWindowSettings::TicsChanged(int tics)
{
    if (choice_.SetTics(tics))
        objINI.WriteValue(kSection, kGameKey, {});
    objINI.WriteValue(kSection, kTicsKey, std::to_string(tics));
}

void MainWindowSettings::GameChosen(const GamePreset& game)
{
    choice_.ChooseGame(game);
    objINI.WriteValue(kSection, kGameKey, std::string(game.Key));
}

void MainWindowSettings::TargetChosen(const GamePreset& target)
{
    choice_.ChooseTarget(target);
    objINI.WriteValue(kSection, kTargetKey, std::string(target.Key));
}

void MainWindowSettings::MakeBackupsChanged(bool on)
{
    makeBackups_ = on;
    objINI.WriteValue(kSection, kBackupsKey, on ? "1" : "0");
}

void MainWindowSettings::ExactTimingChanged(bool on)
{
    choice_.SetExactTiming(on);
    objINI.WriteValue(kSection, kExactKey, on ? "1" : "0");
}

std::string MainWindowSettings::FolderNote(const std::string& stored, const std::string& shown)
{
    return "The folder " + stored + " cannot be opened; showing " + shown + " instead.";
}

} // namespace brivane
