#pragma once

#include "conversion/ConversionChoice.h"
#include "interaction/UserInteraction.h"
#include "ui/qt/SongPlayer.h"

#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QListWidget;
class QMainWindow;
class QMenu;
class QStatusBar;

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowText(const QString& text);
    void PlayCurrentSong();
    std::string CurrentSongPath() const;

    QStatusBar* status_; // the window's
    QListWidget& songs_;
    const ConversionChoice& choice_;
    UserInteraction& ui_;
    SongPlayer player_;
    QString playingName_;
    QString note_;
    QString text_; // the status text in full
    QLabel* noDevice_ = nullptr; // a child of the status bar, when there is no output device
    bool playingHeaderless_ = false;
    QAction* mnuPlayPlaySong = nullptr;
    QAction* mnuPlayStop = nullptr;
};

} // namespace brivane
