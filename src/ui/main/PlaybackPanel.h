#pragma once

#include "platform/UserInteraction.h"
#include "ui/main/SongPlayer.h"

#include <QObject>
#include <QString>

class QAction;
class QListWidget;
class QMainWindow;
class QMenu;
class QScrollBar;

namespace brivane {

// The main window's Play menu and status bar: plays the list's current song (a headerless one
// at the scroll bar's rate, a converted one at 700) and tells what plays and where, or what the
// current song is.
class PlaybackPanel : public QObject {
public:
    // Puts the Play menu before `before` on the window's menu bar.
    PlaybackPanel(QMainWindow& window, QListWidget& songs, QScrollBar& tics, QMenu& before, UserInteraction& ui);

    void Stop() { player_.Stop(); }
    // The scroll bar moved: a headerless song that plays takes the new tempo at once.
    void TicsChanged(int tics);
    void ShowStatus();

private:
    void PlayCurrentSong();
    QString CurrentSongPath() const;

    QMainWindow& window_;
    QListWidget& songs_;
    QScrollBar& tics_;
    UserInteraction& ui_;
    SongPlayer player_;
    QString playingName_;
    bool playingHeaderless_ = false;
    QAction* mnuPlayPlaySong = nullptr;
};

} // namespace brivane
