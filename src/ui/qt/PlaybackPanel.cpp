#include "ui/qt/PlaybackPanel.h"

#include "conversion/ImfInfo.h"
#include "ui/qt/FileNames.h"
#include "ui/qt/FileList.h"
#include "ui/shared/PlaybackStatus.h"
#include "ui/shared/SongToPlay.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

namespace brivane {
PlaybackPanel::PlaybackPanel(QMainWindow& window, QListWidget& songs, const ConversionChoice& choice,
                             QMenu& before, UserInteraction& ui)
    : QObject(&window), status_(window.statusBar()), songs_(songs), choice_(choice), ui_(ui)
{
    auto* mnuPlay = new QMenu(QMainWindow::tr("&Play"), window.menuBar());
    window.menuBar()->insertMenu(before.menuAction(), mnuPlay);
    mnuPlayPlaySong = mnuPlay->addAction(QMainWindow::tr("&Play Song"));
    mnuPlayPlaySong->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuPlayStop = mnuPlay->addAction(QMainWindow::tr("&Stop"));
    mnuPlayStop->setEnabled(false);
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
        noDevice_ = new QLabel(QMainWindow::tr("No audio output device"), status_);
        noDevice_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        status_->addPermanentWidget(noDevice_);
    }
    status_->installEventFilter(this);
}

bool PlaybackPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == status_ && event->type() == QEvent::Resize)
        ShowText(text_);
    return QObject::eventFilter(watched, event);
}

void PlaybackPanel::ShowText(const QString& text)
{
    // The status bar cuts a long text off where the permanent notice begins, mid-word; an
    // ellipsis shows that there is more, and the tooltip holds it all.
    text_ = text;
    int room = status_->width() - 16;
    if (noDevice_)
        room -= noDevice_->sizeHint().width() + 8;
    status_->showMessage(status_->fontMetrics().elidedText(text, Qt::ElideRight, std::max(room, 0)));
    status_->setToolTip(text);
}

std::string PlaybackPanel::CurrentSongPath() const
{
    const QListWidgetItem* item = songs_.currentItem();
    return item ? SongPath(songs_, *item) : std::string();
}

void PlaybackPanel::SetNote(const QString& note)
{
    if (note == note_)
        return; // every move of the bar sets it; the song's status is read once, by TicsChanged
    note_ = note;
    ShowStatus();
}

void PlaybackPanel::PlayCurrentSong()
{
    const std::string path = CurrentSongPath();
    if (path.empty() || !mnuPlayPlaySong->isEnabled())
        return;
    std::optional<SongToPlay> toPlay = LoadSongToPlay(path, choice_, ui_);
    if (!toPlay)
        return;
    playingHeaderless_ = toPlay->Headerless;
    playingName_ = songs_.currentItem()->text();
    player_.Play(std::move(toPlay->Song), toPlay->TickRate);
    ShowStatus();
}

void PlaybackPanel::TicsChanged()
{
    if (playingHeaderless_ && player_.IsPlaying())
        player_.SetTickRate(choice_.Tics());
    ShowStatus();
}

void PlaybackPanel::ShowStatus()
{
    mnuPlayStop->setEnabled(player_.IsPlaying());
    if (player_.IsPlaying()) {
        ShowText(ToText(PlayingStatus(ToBytes(playingName_), player_.TickRate(), player_.PositionSeconds(),
                                      player_.LengthSeconds())));
        return;
    }
    const std::string path = CurrentSongPath();
    if (path.empty()) {
        ShowText(note_);
        return;
    }
    ShowText(ToText(SongStatus(ToBytes(songs_.currentItem()->text()), DescribeImf(path, choice_.Rates()))));
}

} // namespace brivane
