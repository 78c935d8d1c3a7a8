#include "ui/main/PlaybackPanel.h"

#include "conversion/ImfInfo.h"
#include "conversion/TicScale.h"
#include "platform/FileError.h"
#include "ui/FileNames.h"
#include "ui/main/FileList.h"

#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>

namespace brivane {
namespace {

// "2:31": minutes and seconds, as a player shows them.
QString Duration(double seconds)
{
    const auto whole = static_cast<long long>(seconds);
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

PlaybackPanel::PlaybackPanel(QMainWindow& window, QListWidget& songs, QScrollBar& tics, QMenu& before,
                             UserInteraction& ui)
    : QObject(&window), window_(window), songs_(songs), tics_(tics), ui_(ui)
{
    auto* mnuPlay = new QMenu(QMainWindow::tr("&Play"), window.menuBar());
    window.menuBar()->insertMenu(before.menuAction(), mnuPlay);
    mnuPlayPlaySong = mnuPlay->addAction(QMainWindow::tr("&Play Song"));
    mnuPlayPlaySong->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    QAction* mnuPlayStop = mnuPlay->addAction(QMainWindow::tr("&Stop"));
    mnuPlayStop->setShortcut(QKeySequence(Qt::Key_Escape));
    mnuPlay->setObjectName("mnuPlay");
    mnuPlayPlaySong->setObjectName("mnuPlayPlaySong");
    mnuPlayStop->setObjectName("mnuPlayStop");

    connect(mnuPlayPlaySong, &QAction::triggered, this, &PlaybackPanel::PlayCurrentSong);
    connect(mnuPlayStop, &QAction::triggered, &player_, &SongPlayer::Stop);
    connect(&songs, &QListWidget::itemDoubleClicked, this, &PlaybackPanel::PlayCurrentSong);
    connect(&songs, &QListWidget::currentRowChanged, this, &PlaybackPanel::ShowStatus);
    connect(&player_, &SongPlayer::Stopped, this, &PlaybackPanel::ShowStatus);

    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, [this] {
        if (player_.IsPlaying())
            ShowStatus();
    });
    clock->start(250);

    if (!SongPlayer::HasOutputDevice()) {
        mnuPlayPlaySong->setEnabled(false);
        window.statusBar()->addPermanentWidget(new QLabel(QMainWindow::tr("No audio output device"), window.statusBar()));
    }
}

QString PlaybackPanel::CurrentSongPath() const
{
    const QListWidgetItem* item = songs_.currentItem();
    return item ? FileListFolder(songs_) + QLatin1Char('/') + item->text() : QString();
}

void PlaybackPanel::PlayCurrentSong()
{
    const QString path = CurrentSongPath();
    if (path.isEmpty() || !mnuPlayPlaySong->isEnabled())
        return;
    PlayableSong song;
    try {
        song = LoadPlayableSong(ToBytes(path));
    } catch (const FileError& error) {
        ui_.ShowMessage("Could not play " + ToBytes(path) + ": " + error.Reason(), "Could not play", MB_ICONHAND);
        return;
    }
    // A converted song plays at the rate it was converted to; a headerless one at the bar's.
    playingHeaderless_ = song.Layout == ImfHeaderless;
    playingName_ = songs_.currentItem()->text();
    player_.Play(std::move(song), playingHeaderless_ ? tics_.value() : kWolfensteinTics);
    ShowStatus();
}

void PlaybackPanel::TicsChanged(int tics)
{
    if (playingHeaderless_ && player_.IsPlaying())
        player_.SetTickRate(tics);
    ShowStatus();
}

void PlaybackPanel::ShowStatus()
{
    QStatusBar* status = window_.statusBar();
    if (player_.IsPlaying()) {
        status->showMessage(QMainWindow::tr("Playing %1 at %2 ticks per second, %3 of %4")
                                .arg(playingName_)
                                .arg(player_.TickRate())
                                .arg(Duration(player_.PositionSeconds()), Duration(player_.LengthSeconds())));
        return;
    }
    const QString path = CurrentSongPath();
    if (path.isEmpty()) {
        status->clearMessage();
        return;
    }
    const ImfInfo info = DescribeImf(ToBytes(path), tics_.value());
    const QString name = songs_.currentItem()->text();
    if (info.Type != ImfHeaderless && info.Type != ImfWolfenstein) {
        status->showMessage(QMainWindow::tr("%1: cannot be read").arg(name));
        return;
    }
    const bool headerless = info.Type == ImfHeaderless;
    status->showMessage(QMainWindow::tr("%1: %2, %3 at %4 ticks per second")
                            .arg(name, headerless ? QMainWindow::tr("headerless") : QMainWindow::tr("Wolfenstein 3-D"),
                                 Duration(info.Seconds))
                            .arg(headerless ? tics_.value() : kWolfensteinTics));
}

} // namespace brivane
