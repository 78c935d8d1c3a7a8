#include "ui/shared/MainWindowController.h"

#include "conversion/ConvertCommand.h"
#include "conversion/ImfInfo.h"
#include "songfile/ImfPaths.h"
#include "conversion/TicScale.h"
#include "platform/FileSystem.h"
#include "ui/shared/PlaybackStatus.h"
#include "ui/shared/SongToPlay.h"

#include <algorithm>
#include <cctype>

namespace brivane {
namespace {

// Names in the order a user reads them: without regard to the case of ASCII letters, and
// names that differ only in case by their bytes, so that the order never depends on a locale.
bool ListedBefore(const std::string& a, const std::string& b)
{
    const auto folded = [](unsigned char c) { return std::tolower(c); };
    const auto order = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                    [&](char x, char y) { return folded(x) < folded(y); });
    const auto reverse = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                      [&](char x, char y) { return folded(x) < folded(y); });
    return order != reverse ? order : a < b;
}

std::vector<std::string> SongsIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (std::string& name : VisibleFilesIn(folder))
        if (IsSongName(name))
            names.push_back(std::move(name));
    std::sort(names.begin(), names.end(), ListedBefore);
    return names;
}

} // namespace

MainWindowController::MainWindowController(MainWindowView& view, UserInteraction& boxes, SongOutput& player,
                                           bool hasOutputDevice)
    : view_(view), boxes_(boxes), player_(player), hasOutputDevice_(hasOutputDevice), settings_(boxes)
{
}

void MainWindowController::Start(const std::string& settingsFile, const std::string& defaultFolder)
{
    settings_.Load(settingsFile);
    const std::string stored = settings_.StoredFolder();
    std::string folder = stored.empty() ? defaultFolder : stored;
    std::string folderNote;
    if (!IsReadableFolder(folder)) {
        folderNote = MainWindowSettings::FolderNote(folder, defaultFolder);
        folder = defaultFolder;
    }
    ShowFolderAndSongs(folder);

    const int tics = settings_.Tics();
    view_.ShowTics(tics);
    // As the bar's own change would: a clamped or first-time rate is written back.
    if (tics != kDesignTics)
        settings_.TicsChanged(tics);
    ShowChoice();
    if (!folderNote.empty())
        SetNote(folderNote);
    Refresh();
}

void MainWindowController::ShowFolderAndSongs(const std::string& folder)
{
    folder_ = folder;
    songs_ = SongsIn(folder);
    current_.reset();
    view_.ShowFolder(folder);
    view_.ShowSongs(songs_);
}

void MainWindowController::BrowseClicked()
{
    const std::string chosen = view_.ChooseFolder(folder_);
    if (chosen.empty())
        return;
    player_.Stop();
    ShowFolderAndSongs(chosen);
    settings_.FolderChosen(chosen);
    Refresh();
}

void MainWindowController::ConvertClicked()
{
    player_.Stop(); // the song may be about to change under the player
    ticScale_ = TicScaleFor(settings_.Choice().Tics());
    std::vector<std::size_t> rows = view_.SelectedSongs();
    std::sort(rows.begin(), rows.end());
    std::vector<std::string> paths;
    for (const std::size_t row : rows)
        if (row < songs_.size())
            paths.push_back(JoinPath(folder_, songs_[row]));

    // The menus cannot change while the batch runs: the window takes no input until it ends.
    const bool makeBackups = settings_.MakeBackups();
    const Conversion rates = settings_.Choice().Rates();
    view_.RunBatch([&](UserInteraction& ui, const std::atomic<bool>& cancel) {
        ConvertFiles(paths, rates, [makeBackups] { return makeBackups; }, ui, {DefaultJobs(), &cancel});
    });
    RelistSongs(); // a capture's song is a new file in the folder, for the list to show
    Refresh(); // the current song may have been converted
}

void MainWindowController::TicsMoved(int tics)
{
    view_.ShowTics(tics);
    settings_.TicsChanged(tics);
    if (playingHeaderless_ && player_.IsPlaying())
        player_.SetTickRate(tics);
    ShowChoice();
    Refresh();
}

void MainWindowController::GameChosen(const GamePreset& game)
{
    settings_.GameChosen(game);
    TicsMoved(game.OriginalTics); // stores the rate, as any move does
}

void MainWindowController::TargetChosen(const GamePreset& target)
{
    settings_.TargetChosen(target);
    ShowChoice();
    Refresh();
}

void MainWindowController::MenuChosen(int command)
{
    if (const GamePreset* chosen = GameOfCommand(command, kOptionsGame))
        return GameChosen(*chosen);
    if (const GamePreset* chosen = GameOfCommand(command, kOptionsConvertTo))
        return TargetChosen(*chosen);
    switch (command) {
    case kFileExit: return view_.CloseWindow();
    case kOptionsMakeBackups: settings_.MakeBackupsChanged(!settings_.MakeBackups()); break;
    // The status says what the conversion does to the current song's length.
    case kOptionsExactTiming: settings_.ExactTimingChanged(!settings_.Choice().ExactTiming()); break;
    case kPlayPlaySong: return PlayClicked();
    case kPlayStop: player_.Stop(); break;
    case kHelpAbout: return view_.ShowAbout();
    case kOptionsGameMusic: return GameMusicChosen();
    default: return;
    }
    Refresh();
}

void MainWindowController::GameMusicChosen()
{
    player_.Stop(); // the dialog plays songs of its own
    view_.ShowGameMusic(folder_, settings_.Choice().Rates());
    RelistSongs(); // songs may have been extracted into the folder
    Refresh();
}

void MainWindowController::RelistSongs()
{
    if (std::vector<std::string> songs = SongsIn(folder_); songs != songs_) {
        songs_ = std::move(songs);
        current_.reset();
        view_.ShowSongs(songs_);
    }
}

void MainWindowController::CurrentSongChanged(std::optional<std::size_t> row)
{
    current_ = row && *row < songs_.size() ? row : std::nullopt;
    Refresh();
}

std::string MainWindowController::CurrentSongPath() const
{
    return current_ ? JoinPath(folder_, songs_[*current_]) : std::string();
}

void MainWindowController::PlayClicked()
{
    const std::string path = CurrentSongPath();
    if (path.empty() || !hasOutputDevice_)
        return;
    std::optional<SongToPlay> toPlay = LoadSongToPlay(path, settings_.Choice(), boxes_);
    if (!toPlay)
        return;
    playingHeaderless_ = toPlay->Headerless;
    playingName_ = DisplayName(path) + (toPlay->Song.Source.empty() ? "" : ", " + toPlay->Song.Source + ",");
    if (!player_.Play(std::move(toPlay->Song), toPlay->TickRate))
        TellCannotPlay(boxes_, path);
    Refresh();
}

void MainWindowController::PlaybackEnded()
{
    player_.Stop(); // lets the finished output go
    Refresh();
}

void MainWindowController::ClockTicked()
{
    if (player_.IsPlaying())
        Refresh();
}

void MainWindowController::ShowChoice()
{
    const ConversionChoice& choice = settings_.Choice();
    view_.ShowConvertCaption(choice.ConvertCaption());
    SetNote(choice.LengthWordNote());
}

void MainWindowController::SetNote(const std::string& note)
{
    note_ = note;
}

// The status bar says what plays and where, else what the current song is, else the note;
// the menus follow the settings and the player.
void MainWindowController::Refresh()
{
    StatusText status = note_;
    if (player_.IsPlaying()) {
        status = PlayingStatus(playingName_, player_.TickRate(), player_.PositionSeconds(), player_.LengthSeconds());
    } else if (const std::string path = CurrentSongPath(); !path.empty()) {
        status = SongStatus(DisplayName(path), DescribeImf(path, settings_.Choice().Rates()));
    }
    if (status_.Changes(status))
        view_.ShowStatus(status);

    const ConversionChoice& choice = settings_.Choice();
    const MenuStates menus{settings_.MakeBackups(), choice.ExactTiming(), hasOutputDevice_, player_.IsPlaying(),
                           choice.MarkedGame(), &choice.Target()};
    if (menus_.Changes(menus))
        view_.ShowMenus(menus);
}

} // namespace brivane
