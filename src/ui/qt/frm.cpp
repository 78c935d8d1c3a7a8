#include "ui/qt/frm.h"

#include "conversion/ConvertCommand.h"
#include "conversion/GamePresets.h"
#include "conversion/ImfPaths.h"
#include "conversion/TicScale.h"
#include "platform/ApplicationInfo.h"
#include "ui/qt/ApplicationIcon.h"
#include "ui/qt/FileNames.h"
#include "ui/qt/DesignFont.h"
#include "ui/qt/ScaleMode.h"
#include "ui/qt/frmAbout.h"
#include "ui/qt/modOpenFolder.h"
#include "ui/qt/BatchRunner.h"
#include "ui/qt/PlaybackPanel.h"
#include "ui/qt/FileList.h"
#include "ui/qt/modBrowseForFolder.h"
#include "ui/qt/modDrawText.h"
#include "ui/shared/MenuText.h"

#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>

#include <algorithm>

namespace brivane {
namespace {

constexpr int kDesignTics = 350;

bool IsReadableFolder(const QString& path)
{
    const QDir folder(path);
    return !path.isEmpty() && folder.exists() && folder.isReadable();
}

} // namespace

frm::frm(const QString& settingsFile, const QString& defaultFolder, QWidget* parent)
    : QMainWindow(parent), settingsFile_(settingsFile), defaultFolder_(defaultFolder)
{
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    setWindowIcon(ApplicationIcon());
    UseDesignFont(*this);
    MarkScaleModeTwips(*this);
    settings_ = std::make_unique<MainWindowSettings>(ui_);
    CreateControls();
    CreateMenus();
    SetTabOrder();
    Load();

    const float tx = TwipsPerPixelX(*this);
    const float ty = TwipsPerPixelY(*this);
    // The menu bar above and the status bar below come on top of the designed client area.
    const int menuHeight = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    // The smallest client area the layout fits: 1680 twips wide keeps the scroll bar's width
    // (ScaleWidth - 1560 - 120) at 0 or more, and every wider control with it; 1830 twips high
    // keeps the list's height at 0 or more (480 + 120 above Select All, 315 + 120 to the row,
    // 360 from the row to Convert, 315 + 120 below it). The menu and status bars come on top.
    objResizeLimits->AddLimits(this, 1680, 1830 + PixelsToTwips(menuHeight, ty));
    resize(TwipsToPixels(MainLayout::kDesignWidth, tx), TwipsToPixels(MainLayout::kDesignHeight, ty) + menuHeight);
    cmdBrowse->setFocus();
}

frm::~frm()
{
    // Hooked windows get their own sizes back; the settings go without saving, since every
    // setting was saved when it changed.
    objResizeLimits.reset();
    settings_.reset();
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
    lblTics = new QLabel(QString::number(kDesignTics), client_);
    lblTics->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    hsbTics = new QScrollBar(Qt::Horizontal, client_);
    hsbTics->setRange(kMinOriginalTics, kMaxOriginalTics);
    hsbTics->setSingleStep(1);
    hsbTics->setPageStep(25);
    hsbTics->setValue(kDesignTics);
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

    connect(cmdBrowse, &QPushButton::clicked, this, &frm::cmdBrowse_Click);
    connect(cmdSelectAll, &QPushButton::clicked, this, &frm::cmdSelectAll_Click);
    connect(cmdConvert, &QPushButton::clicked, this, &frm::cmdConvert_Click);
    connect(hsbTics, &QScrollBar::valueChanged, this, &frm::hsbTics_Change);
    connect(hsbTics, &QScrollBar::sliderMoved, this, &frm::hsbTics_Change);

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
    mnuHelp = menuBar()->addMenu(tr("&Help"));
    mnuHelpAbout = mnuHelp->addAction(tr("&About"));

    mnuFile->setObjectName("mnuFile");
    mnuFileExit->setObjectName("mnuFileExit");
    mnuOptions->setObjectName("mnuOptions");
    mnuOptionsMakeBackups->setObjectName("mnuOptionsMakeBackups");
    mnuHelp->setObjectName("mnuHelp");
    mnuHelpAbout->setObjectName("mnuHelpAbout");

    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);
    // The action's check mark has already flipped when `triggered` arrives.
    connect(mnuOptionsMakeBackups, &QAction::triggered, this, &frm::mnuOptionsMakeBackups_Click);
    mnuOptionsExactTiming = mnuOptions->addAction(tr("&Exact Timing"));
    mnuOptionsExactTiming->setCheckable(true);
    mnuOptionsExactTiming->setObjectName("mnuOptionsExactTiming");
    connect(mnuOptionsExactTiming, &QAction::triggered, this, &frm::mnuOptionsExactTiming_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frm::mnuHelpAbout_Click);

    // A game's rate moves the scroll bar, which stores it as any move does.
    mnuOptionsGame = mnuOptions->addMenu(tr("&Game"));
    mnuOptionsGame->setObjectName("mnuOptionsGame");
    mnuOptionsConvertTo = mnuOptions->addMenu(tr("Convert &To"));
    mnuOptionsConvertTo->setObjectName("mnuOptionsConvertTo");
    for (const GamePreset& preset : kGamePresets) {
        QAction* game = mnuOptionsGame->addAction(ToText(WithAccessKey(preset.Title, preset.AccessKey)));
        game->setCheckable(true);
        game->setData(ToText(std::string(preset.Key)));
        connect(game, &QAction::triggered, this, [this, &preset] { mnuOptionsGame_Click(preset); });
        QAction* target = mnuOptionsConvertTo->addAction(ToText(WithAccessKey(preset.Name, preset.AccessKey)));
        target->setCheckable(true);
        target->setData(ToText(std::string(preset.Key)));
        connect(target, &QAction::triggered, this, [this, &preset] { mnuOptionsConvertTo_Click(preset); });
    }

    playback_ = new PlaybackPanel(*this, *File, settings_->Choice(), *mnuHelp, ui_);
}

void frm::SetTabOrder()
{
    setTabOrder(cmdBrowse, File);
    setTabOrder(File, cmdConvert);
    setTabOrder(cmdConvert, cmdSelectAll);
    setTabOrder(cmdSelectAll, hsbTics);
}

void frm::Load()
{
    objResizeLimits = std::make_unique<clsResizeLimits>();
    settings_->Load(ToBytes(SettingsPath()));

    // A stored folder that is gone or unreadable shows the default folder; the stored key
    // stays until the user picks another.
    const std::string stored = settings_->StoredFolder();
    QString folder = stored.empty() ? defaultFolder_ : ToText(stored);
    QString folderNote;
    if (!IsReadableFolder(folder)) {
        folderNote = ToText(MainWindowSettings::FolderNote(ToBytes(folder), ToBytes(defaultFolder_)));
        folder = defaultFolder_;
    }
    FitPathToLabel(*this, *lblFolder, folder);

    hsbTics->setValue(settings_->Tics()); // a clamped rate is written back by the change handling
    ShowConversionChoice();

    mnuOptionsMakeBackups->setChecked(settings_->MakeBackups());
    mnuOptionsExactTiming->setChecked(settings_->Choice().ExactTiming());
    SetFileListFolder(*File, LabelTag(*lblFolder));
    if (!folderNote.isEmpty())
        playback_->SetNote(folderNote);
}

void frm::ShowConversionChoice()
{
    const ConversionChoice& choice = settings_->Choice();
    const GamePreset* marked = choice.MarkedGame();
    for (QAction* game : mnuOptionsGame->actions())
        game->setChecked(marked && game->data().toString() == ToText(std::string(marked->Key)));
    for (QAction* target : mnuOptionsConvertTo->actions())
        target->setChecked(target->data().toString() == ToText(std::string(choice.Target().Key)));
    cmdConvert->setText(ToText(choice.ConvertCaption()));
    playback_->SetNote(ToText(choice.LengthWordNote()));
}

bool frm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == client_ && event->type() == QEvent::Resize && !(windowState() & Qt::WindowMinimized))
        ApplyLayout();
    return QMainWindow::eventFilter(watched, event);
}

void frm::ApplyLayout()
{
    const float tx = TwipsPerPixelX(*this);
    const float ty = TwipsPerPixelY(*this);
    layout_.Arrange(PixelsToTwips(client_->width(), tx), PixelsToTwips(client_->height(), ty));
    PlaceInTwips(*cmdBrowse, layout_.cmdBrowse, tx, ty);
    PlaceInTwips(*lblFolder, layout_.lblFolder, tx, ty);
    PlaceInTwips(*cmdConvert, layout_.cmdConvert, tx, ty);
    PlaceInTwips(*lbl, layout_.lbl, tx, ty);
    PlaceInTwips(*lblTics, layout_.lblTics, tx, ty);
    PlaceInTwips(*hsbTics, layout_.hsbTics, tx, ty);
    MakeRoomForCaption();
    PlaceInTwips(*cmdSelectAll, layout_.cmdSelectAll, tx, ty);
    PlaceInTwips(*File, layout_.File, tx, ty);
}

void frm::MakeRoomForCaption()
{
    // This platform's fonts run "Original Tics:" wider than its design width: the caption is
    // drawn whole, and the value and the bar move right by what it needs, the bar's right
    // edge staying put.
    WidenToFitText(*lbl, lbl->sizeHint().width());
    const int needed = lbl->geometry().right() + lbl->fontMetrics().horizontalAdvance(QLatin1Char(' ')) -
                       lblTics->x();
    if (needed <= 0)
        return;
    lblTics->move(lblTics->x() + needed, lblTics->y());
    hsbTics->setGeometry(hsbTics->x() + needed, hsbTics->y(), std::max(0, hsbTics->width() - needed),
                         hsbTics->height());
}

void frm::cmdBrowse_Click()
{
    const QString chosen = BrowseForFolder(LabelTag(*lblFolder), this, tr("Select a folder"));
    if (chosen.isEmpty())
        return;
    playback_->Stop();
    FitPathToLabel(*this, *lblFolder, chosen);
    SetFileListFolder(*File, chosen);
    settings_->FolderChosen(ToBytes(chosen));
}

void frm::cmdSelectAll_Click()
{
    // One selection range for the whole list: selecting entry by entry is quadratic in Qt.
    File->selectAll();
}

void frm::cmdConvert_Click()
{
    playback_->Stop(); // the song may be about to change under the player
    TicScale_ = TicScaleFor(hsbTics->value());
    QModelIndexList selected = File->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(selected.size()));
    for (const QModelIndex& index : selected)
        paths.push_back(SongPath(*File, *File->item(index.row())));

    // The menu cannot change while the batch runs: it takes no input until the batch ends.
    const bool makeBackups = mnuOptionsMakeBackups->isChecked();
    const Conversion rates = settings_->Choice().Rates();
    RunBatch(*this, ui_, [&](UserInteraction& ui, const std::atomic<bool>& cancel) {
        ConvertFiles(paths, rates, [makeBackups] { return makeBackups; }, ui, {DefaultJobs(), &cancel});
    });
    playback_->ShowStatus(); // the current song may have been converted
}

void frm::mnuHelpAbout_Click()
{
    frmAbout about(this, ShellOpen);
    about.exec();
}

void frm::hsbTics_Change(int value)
{
    lblTics->setText(QString::number(value));
    settings_->TicsChanged(value);
    ShowConversionChoice();
    playback_->TicsChanged();
}

void frm::closeEvent(QCloseEvent* event)
{
    playback_->Stop();
    QMainWindow::closeEvent(event);
}

void frm::mnuOptionsGame_Click(const GamePreset& game)
{
    settings_->GameChosen(game);
    hsbTics->setValue(game.OriginalTics); // stores the rate, as any move does
    ShowConversionChoice();
}

void frm::mnuOptionsConvertTo_Click(const GamePreset& target)
{
    settings_->TargetChosen(target);
    ShowConversionChoice();
}

void frm::mnuOptionsMakeBackups_Click()
{
    settings_->MakeBackupsChanged(mnuOptionsMakeBackups->isChecked());
}

void frm::mnuOptionsExactTiming_Click()
{
    settings_->ExactTimingChanged(mnuOptionsExactTiming->isChecked());
    playback_->ShowStatus(); // what the conversion does to the current song's length
}

} // namespace brivane
