#pragma once

#include "conversion/ConversionChoice.h"
#include "platform/UserInteraction.h"
#include "ui/main/SongPlayer.h"

#include <QObject>
#include <QString>

class QAction;
class QListWidget;
class QMainWindow;
class QMenu;

namespace brivane {

// The main window's Play menu and status bar: plays the list's current song at the rate the
// window's choice takes its layout at (a headerless one at the scroll bar's) and tells what
// plays and where, or what the current song is, or else the window's note.
class PlaybackPanel : public QObject {
public:
    // Puts the Play menu before `before` on the window's menu bar.
    PlaybackPanel(QMainWindow& window, QListWidget& songs, const ConversionChoice& choice, QMenu& before,
                  UserInteraction& ui);

    void Stop() { player_.Stop(); }
    // The scroll bar moved: a headerless song that plays takes the new tempo at once.
    void TicsChanged();
    void ShowStatus();
    // Shown while no song is current, until replaced.
    void SetNote(const QString& note);

private:
    void PlayCurrentSong();
    std::string CurrentSongPath() const;

    QMainWindow& window_;
    QListWidget& songs_;
    const ConversionChoice& choice_;
    UserInteraction& ui_;
    SongPlayer player_;
    QString playingName_;
    QString note_;
    bool playingHeaderless_ = false;
    QAction* mnuPlayPlaySong = nullptr;
};

} // namespace brivane
