#include "ui/shared/GameMusicController.h"

#include "conversion/CountedText.h"
#include "playback/PlayableSong.h"
#include "platform/FileSystem.h"
#include "ui/shared/PlaybackStatus.h"

#include <algorithm>

namespace brivane {

GameMusicController::GameMusicController(GameMusicView& view, UserInteraction& boxes, SongOutput& player,
                                         bool hasOutputDevice, std::string folder, const Conversion& rates)
    : view_(view), boxes_(boxes), player_(player), hasOutputDevice_(hasOutputDevice), folder_(std::move(folder)),
      rates_(rates)
{
}

void GameMusicController::List(const std::vector<SongKey>& keepSelected)
{
    player_.Stop(); // a song the list no longer holds may be playing
    games_.clear();
    rows_.clear();
    std::string unread;
    for (const std::string& path : GameFilesIn(folder_)) {
        GameRead read = ReadGameForUser(path);
        if (read.File)
            games_.push_back({path, std::move(*read.File)});
        else
            unread += "; " + read.Failure.Title + ": " + read.Failure.Text;
    }
    std::vector<GameMusicRow> shown;
    std::vector<std::size_t> selected;
    for (const Listed& game : games_)
        for (const GameSong& song : game.Game.Songs) {
            const SongKey key{game.Path, song.Number};
            if (std::find(keepSelected.begin(), keepSelected.end(), key) != keepSelected.end())
                selected.push_back(rows_.size());
            rows_.push_back({&game, &song});
            shown.push_back({NameOf(game.Path), ColumnsOf(song)});
        }
    summary_ = games_.empty() && unread.empty()
                   ? "No game files in " + folder_ + ": Brivane reads AUDIOT.*, .CMP, .VOL, .STN and AUDIO.CK4-CK6 files"
                   : Count(rows_.size(), "song", "songs") + " in " + Count(games_.size(), "game file", "game files") +
                         unread;
    view_.ShowSongs(shown, selected);
    Refresh();
}

std::vector<GameMusicController::SongKey> GameMusicController::SelectedKeys() const
{
    std::vector<SongKey> keys;
    for (const Place& place : Selected())
        keys.emplace_back(place.Game->Path, place.Song->Number);
    return keys;
}

std::vector<GameMusicController::Place> GameMusicController::Selected() const
{
    std::vector<std::size_t> rows = view_.SelectedSongs();
    std::sort(rows.begin(), rows.end());
    std::vector<Place> places;
    for (const std::size_t row : rows)
        if (row < rows_.size())
            places.push_back(rows_[row]);
    return places;
}

void GameMusicController::Tell(const GameReport& report, const std::string& title)
{
    if (report.Failed)
        boxes_.Show({report.Text, report.Title, MessageStyle::Error});
    else
        boxes_.Show({report.Text, title, MessageStyle::Information});
}

void GameMusicController::PlayClicked()
{
    const std::vector<Place> selected = Selected();
    if (selected.empty() || !hasOutputDevice_)
        return;
    const GameSong& song = *selected.front().Song;
    if (!player_.Play(ParsePlayableSong(song.Bytes), song.Tics))
        TellCannotPlay(boxes_, song.Name);
    playing_ = song.Name;
    Refresh();
}

void GameMusicController::ButtonClicked(int button)
{
    switch (button) {
    case game_music::kPlay: return PlayClicked();
    case game_music::kStop: return StopClicked();
    case game_music::kExtract: return ExtractClicked();
    case game_music::kReplace: return ReplaceClicked();
    case game_music::kRestore: return RestoreClicked();
    }
}

void GameMusicController::StopClicked()
{
    player_.Stop();
    Refresh();
}

void GameMusicController::PlaybackEnded()
{
    player_.Stop(); // lets the finished output go
    Refresh();
}

void GameMusicController::ClockTicked()
{
    if (player_.IsPlaying())
        Refresh();
}

void GameMusicController::ExtractClicked()
{
    const std::vector<Place> selected = Selected();
    if (selected.empty())
        return;
    const std::string folder = view_.ChooseFolder(folder_);
    if (folder.empty())
        return;
    std::string extracted;
    for (const Place& place : selected) {
        GameReport report = ExtractSong(*place.Song, folder, false, FilesOfGame(place.Game->Path));
        if (report.FileExists &&
            boxes_.Show(UserMessage(report.Text + ". Replace it?", report.Title, MessageStyle::Question, report.Text).AsDefaultNo())
                    .Answer == UserAnswer::Yes)
            report = ExtractSong(*place.Song, folder, true, FilesOfGame(place.Game->Path));
        if (report.FileExists)
            continue;
        if (report.Failed)
            Tell(report, {});
        else
            extracted += (extracted.empty() ? "" : "\n") + report.Text;
    }
    if (!extracted.empty())
        Tell({false, false, {}, extracted}, "Extracted");
}

void GameMusicController::ReplaceClicked()
{
    const std::vector<Place> selected = Selected();
    if (selected.size() != 1)
        return;
    const std::string file = view_.ChooseSongFile(folder_);
    if (file.empty())
        return;
    player_.Stop(); // the game file is about to change under the player
    Tell(ReplaceSongWithFile(selected.front().Game->Path, *selected.front().Song, file, rates_), "Replaced");
    List(SelectedKeys()); // the song stays selected, to be played as it now is
}

void GameMusicController::RestoreClicked()
{
    std::vector<std::string> games;
    for (const Place& place : Selected())
        if (std::find(games.begin(), games.end(), place.Game->Path) == games.end())
            games.push_back(place.Game->Path);
    if (games.empty())
        return;
    player_.Stop();
    for (const std::string& game : games)
        Tell(RestoreGame(game), "Restored");
    List(SelectedKeys());
}

// The status line says what plays, else the selected song, else what the folder holds; the
// buttons follow the selection and the player.
void GameMusicController::Refresh()
{
    const std::vector<Place> selected = Selected();
    std::string status = summary_;
    if (player_.IsPlaying()) {
        status = PlayingStatus(playing_, player_.TickRate(), player_.PositionSeconds(), player_.LengthSeconds());
    } else if (selected.size() == 1) {
        const GameSong& song = *selected.front().Song;
        const SongColumns columns = ColumnsOf(song);
        const std::string note = PlayedFromNote(song);
        status = NameOf(selected.front().Game->Path) + ", song " + columns.Number + " (" + song.Name +
                 "): " + columns.Layout + ", " + columns.Size + ", " + columns.Length + (note.empty() ? "" : "; " + note);
    }
    if (status_.Changes(status))
        view_.ShowStatus(status);
    const bool any = !selected.empty();
    const GameMusicButtons buttons{any && hasOutputDevice_, player_.IsPlaying(), any, selected.size() == 1, any};
    if (buttons_.Changes(buttons))
        view_.ShowButtons(buttons);
}

} // namespace brivane
