#include "ui/qt/frm.h"

#include "conversion/TicScale.h"
#include "platform/ApplicationInfo.h"
#include "ui/qt/ApplicationIcon.h"
#include "ui/qt/BatchRunner.h"
#include "ui/qt/Controls.h"
#include "ui/qt/DesignFont.h"
#include "ui/qt/FileList.h"
#include "ui/qt/FileNames.h"
#include "ui/qt/ScaleMode.h"
#include "ui/qt/frmAbout.h"
#include "ui/qt/modBrowseForFolder.h"
#include "ui/qt/modDrawText.h"
#include "ui/qt/modOpenFolder.h"
#include "ui/shared/MenuText.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

namespace brivane {

frm::frm(const QString& settingsFile, const QString& defaultFolder, QWidget* parent)
    : QMainWindow(parent), settingsFile_(settingsFile)
{
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    setWindowIcon(ApplicationIcon());
    UseDesignFont(*this);
    MarkScaleModeTwips(*this);
    objResizeLimits = std::make_unique<clsResizeLimits>();
    CreateControls();
    CreateMenus();
    SetTabOrder();
    controller_.Start(ToBytes(settingsFile), ToBytes(defaultFolder));

    const float tx = TwipsPerPixelX(*this);
    const float ty = TwipsPerPixelY(*this);
    // The menu bar above and the status bar below come on top of the designed client area.
    const int menuHeight = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    objResizeLimits->AddLimits(this, MainLayout::kMinWidth, MainLayout::kMinHeight + PixelsToTwips(menuHeight, ty));
    resize(TwipsToPixels(MainLayout::kDesignWidth, tx), TwipsToPixels(MainLayout::kDesignHeight, ty) + menuHeight);
    cmdBrowse->setFocus();

    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, [this] { controller_.ClockTicked(); });
    clock->start(250);
}

frm::~frm()
{
    // Hooked windows get their own sizes back; the settings go without saving, since every
    // setting was saved when it changed.
    objResizeLimits.reset();
}

void frm::CreateControls()
{
    client_ = new QWidget(this);
    setCentralWidget(client_);
    client_->installEventFilter(this);

    lblFolder = new QLabel(client_);
    lblFolder->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    cmdBrowse = new QPushButton(QStringLiteral("..."), client_);
    cmdBrowse->setToolTip(tr("Choose a folder"));
    File = new QListWidget(client_);
    File->setSelectionMode(QAbstractItemView::ExtendedSelection);
    cmdSelectAll = new QPushButton(tr("Select &All"), client_);
    lbl = new QLabel(tr("Original Tics:"), client_);
    lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTics = new QLabel(QString::number(MainWindowController::kDesignTics), client_);
    lblTics->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    hsbTics = new QScrollBar(Qt::Horizontal, client_);
    hsbTics->setRange(kMinOriginalTics, kMaxOriginalTics);
    hsbTics->setSingleStep(1);
    hsbTics->setPageStep(25);
    hsbTics->setValue(MainWindowController::kDesignTics);
    hsbTics->setFocusPolicy(Qt::StrongFocus);
    hsbTics->setInvertedControls(false); // the Right arrow raises the rate, as the bar reads
    // Without tracking, a drag reports each thumb move (sliderMoved) and one change when it
    // ends (valueChanged), the two notifications the tick-rate handling answers.
    hsbTics->setTracking(false);
    lbl->setBuddy(hsbTics);
    cmdConvert = new QPushButton(tr("Convert to Wolfenstein IMF"), client_);
    cmdConvert->setDefault(true);

    lblFolder->setObjectName("lblFolder");
    cmdBrowse->setObjectName("cmdBrowse");
    File->setObjectName("File");
    cmdSelectAll->setObjectName("cmdSelectAll");
    lbl->setObjectName("lbl");
    lblTics->setObjectName("lblTics");
    hsbTics->setObjectName("hsbTics");
    cmdConvert->setObjectName("cmdConvert");

    const float tx = TwipsPerPixelX(*this);
    const float ty = TwipsPerPixelY(*this);
    PlaceInTwips(*lblFolder, layout_.lblFolder, tx, ty); // the path is fitted to the design width

    connect(cmdBrowse, &QPushButton::clicked, this, [this] { controller_.BrowseClicked(); });
    connect(cmdSelectAll, &QPushButton::clicked, this, [this] { controller_.SelectAllClicked(); });
    connect(cmdConvert, &QPushButton::clicked, this, [this] { controller_.ConvertClicked(); });
    connect(hsbTics, &QScrollBar::valueChanged, this, [this](int tics) { controller_.TicsMoved(tics); });
    connect(hsbTics, &QScrollBar::sliderMoved, this, [this](int tics) { controller_.TicsMoved(tics); });
    connect(File, &QListWidget::currentRowChanged, this, [this](int row) {
        controller_.CurrentSongChanged(row < 0 ? std::nullopt : std::optional<std::size_t>(row));
    });
    connect(File, &QListWidget::itemDoubleClicked, this, [this] { controller_.PlayClicked(); });

    // Convert is the window's default button: Enter presses it wherever the focus is.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, cmdConvert, &QPushButton::click);
}

void frm::CreateMenus()
{
    mnuFile = menuBar()->addMenu(tr("&File"));
    mnuFileExit = mnuFile->addAction(tr("E&xit"));
    mnuOptions = menuBar()->addMenu(tr("&Options"));
    mnuOptionsMakeBackups = mnuOptions->addAction(tr("&Make Backups"));
    mnuOptionsMakeBackups->setCheckable(true);
    mnuOptionsMakeBackups->setStatusTip(tr(kMakeBackupsTip));
    mnuOptionsExactTiming = mnuOptions->addAction(tr("&Exact Timing"));
    mnuOptionsExactTiming->setCheckable(true);
    mnuOptionsGame = mnuOptions->addMenu(tr("&Game"));
    mnuOptionsConvertTo = mnuOptions->addMenu(tr("Convert &To"));
    for (const GamePreset& preset : kGamePresets) {
        QAction* game = mnuOptionsGame->addAction(ToText(WithAccessKey(preset.Title, preset.AccessKey)));
        game->setCheckable(true);
        connect(game, &QAction::triggered, this, [this, &preset] { controller_.GameChosen(preset); });
        QAction* target = mnuOptionsConvertTo->addAction(ToText(WithAccessKey(preset.Name, preset.AccessKey)));
        target->setCheckable(true);
        connect(target, &QAction::triggered, this, [this, &preset] { controller_.TargetChosen(preset); });
    }
    CreatePlayMenu();
    mnuHelp = menuBar()->addMenu(tr("&Help"));
    mnuHelpAbout = mnuHelp->addAction(tr("&About"));

    mnuFile->setObjectName("mnuFile");
    mnuFileExit->setObjectName("mnuFileExit");
    mnuOptions->setObjectName("mnuOptions");
    mnuOptionsMakeBackups->setObjectName("mnuOptionsMakeBackups");
    mnuOptionsExactTiming->setObjectName("mnuOptionsExactTiming");
    mnuOptionsGame->setObjectName("mnuOptionsGame");
    mnuOptionsConvertTo->setObjectName("mnuOptionsConvertTo");
    mnuHelp->setObjectName("mnuHelp");
    mnuHelpAbout->setObjectName("mnuHelpAbout");

    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);
    connect(mnuOptionsMakeBackups, &QAction::triggered, this, [this] { controller_.MakeBackupsToggled(); });
    connect(mnuOptionsExactTiming, &QAction::triggered, this, [this] { controller_.ExactTimingToggled(); });
    connect(mnuHelpAbout, &QAction::triggered, this, &frm::mnuHelpAbout_Click);
}

void frm::CreatePlayMenu()
{
    mnuPlay = menuBar()->addMenu(tr("&Play"));
    mnuPlayPlaySong = mnuPlay->addAction(tr("&Play Song"));
    mnuPlayPlaySong->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuPlayStop = mnuPlay->addAction(tr("&Stop"));
    mnuPlayStop->setShortcut(QKeySequence(Qt::Key_Escape));
    mnuPlay->setObjectName("mnuPlay");
    mnuPlayPlaySong->setObjectName("mnuPlayPlaySong");
    mnuPlayStop->setObjectName("mnuPlayStop");
    connect(mnuPlayPlaySong, &QAction::triggered, this, [this] { controller_.PlayClicked(); });
    connect(mnuPlayStop, &QAction::triggered, this, [this] { controller_.StopClicked(); });
    connect(&player_, &SongPlayer::Stopped, this, [this] { controller_.PlaybackEnded(); });

    if (!SongPlayer::HasOutputDevice()) {
        noDevice_ = new QLabel(tr("No audio output device"), statusBar());
        noDevice_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        statusBar()->addPermanentWidget(noDevice_);
    }
    statusBar()->installEventFilter(this);
}

void frm::SetTabOrder()
{
    setTabOrder(cmdBrowse, File);
    setTabOrder(File, cmdConvert);
    setTabOrder(cmdConvert, cmdSelectAll);
    setTabOrder(cmdSelectAll, hsbTics);
}

void frm::ShowFolder(const std::string& folder)
{
    FitPathToLabel(*this, *lblFolder, ToText(folder));
}

void frm::ShowSongs(const std::vector<std::string>& names)
{
    const QSignalBlocker quiet(File); // the controller knows no song is current
    FillFileList(*File, names);
}

void frm::ShowTics(int tics)
{
    // During a drag the thumb is already there, and the change that ends the drag still has
    // to come.
    if (hsbTics->sliderPosition() != tics) {
        const QSignalBlocker quiet(hsbTics);
        hsbTics->setValue(tics);
    }
    lblTics->setText(QString::number(tics));
}

void frm::ShowConvertCaption(const std::string& caption)
{
    cmdConvert->setText(ToText(caption));
}

void frm::ShowMenus(const MenuStates& menus)
{
    mnuOptionsMakeBackups->setChecked(menus.MakeBackups);
    mnuOptionsExactTiming->setChecked(menus.ExactTiming);
    const QList<QAction*> games = mnuOptionsGame->actions();
    const QList<QAction*> targets = mnuOptionsConvertTo->actions();
    for (std::size_t i = 0; i < kGamePresets.size(); ++i) {
        games[static_cast<int>(i)]->setChecked(menus.Game == &kGamePresets[i]);
        targets[static_cast<int>(i)]->setChecked(menus.Target == &kGamePresets[i]);
    }
    mnuPlayPlaySong->setEnabled(menus.CanPlay);
    mnuPlayStop->setEnabled(menus.CanStop);
}

void frm::ShowStatus(const std::string& text)
{
    status_ = ToText(text);
    ShowStatusText();
}

// The status bar cuts a long text off where the permanent notice begins, mid-word; an
// ellipsis shows that there is more, and the tooltip holds it all.
void frm::ShowStatusText()
{
    int room = statusBar()->width() - 16;
    if (noDevice_)
        room -= noDevice_->sizeHint().width() + 8;
    statusBar()->showMessage(statusBar()->fontMetrics().elidedText(status_, Qt::ElideRight, std::max(room, 0)));
    statusBar()->setToolTip(status_);
}

std::vector<std::size_t> frm::SelectedSongs() const
{
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : File->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    return rows;
}

void frm::SelectAllSongs()
{
    // One selection range for the whole list: selecting entry by entry is quadratic in Qt.
    File->selectAll();
}

std::string frm::ChooseFolder(const std::string& current)
{
    return ToBytes(BrowseForFolder(ToText(current), this, tr("Select a folder")));
}

void frm::RunBatch(const BatchWork& work)
{
    brivane::RunBatch(*this, ui_, work);
}

bool frm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == client_ && !(windowState() & Qt::WindowMinimized))
            ApplyLayout();
        else if (watched == statusBar())
            ShowStatusText();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frm::ApplyLayout()
{
    const float tx = TwipsPerPixelX(*this);
    const float ty = TwipsPerPixelY(*this);
    layout_.Arrange(PixelsToTwips(client_->width(), tx), PixelsToTwips(client_->height(), ty));
    layout_.MakeRoomForCaption(PixelsToTwips(lbl->sizeHint().width(), tx),
                               PixelsToTwips(lbl->fontMetrics().horizontalAdvance(QLatin1Char(' ')), tx), tx);
    PlaceInTwips(*cmdBrowse, layout_.cmdBrowse, tx, ty);
    PlaceInTwips(*lblFolder, layout_.lblFolder, tx, ty);
    PlaceInTwips(*cmdConvert, layout_.cmdConvert, tx, ty);
    PlaceInTwips(*lbl, layout_.lbl, tx, ty);
    PlaceInTwips(*lblTics, layout_.lblTics, tx, ty);
    PlaceInTwips(*hsbTics, layout_.hsbTics, tx, ty);
    PlaceInTwips(*cmdSelectAll, layout_.cmdSelectAll, tx, ty);
    PlaceInTwips(*File, layout_.File, tx, ty);
}

void frm::mnuHelpAbout_Click()
{
    frmAbout about(this, ShellOpen);
    about.exec();
}

void frm::closeEvent(QCloseEvent* event)
{
    controller_.Closing();
    QMainWindow::closeEvent(event);
}

} // namespace brivane
