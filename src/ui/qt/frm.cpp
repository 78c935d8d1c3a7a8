#include "ui/qt/frm.h"

#include "conversion/TicScale.h"
#include "platform/ApplicationInfo.h"
#include "ui/qt/ApplicationIcon.h"
#include "ui/qt/BatchRunner.h"
#include "ui/qt/Controls.h"
#include "ui/qt/TextBytes.h"
#include "ui/qt/ScaleMode.h"
#include "ui/qt/frmAbout.h"
#include "ui/qt/frmGameMusic.h"
#include "ui/qt/modBrowseForFolder.h"
#include "ui/qt/modDrawText.h"
#include "ui/qt/modOpenFolder.h"
#include "ui/shared/Captions.h"

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
#include <QStatusTipEvent>
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
    cmdSelectAll = new QPushButton(tr(captions::kSelectAll), client_);
    lbl = new QLabel(tr(captions::kOriginalTics), client_);
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
    cmdConvert = new QPushButton(client_); // its caption is the target's, from the controller
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
    for (const MenuEntry& menu : MainMenus())
        AddMenuItems(*menuBar()->addMenu(tr(menu.Caption.c_str())), menu);
    action(kOptionsMakeBackups)->setStatusTip(tr(kMakeBackupsTip));
    connect(&player_, &SongPlayer::Stopped, this, [this] { controller_.PlaybackEnded(); });
    if (!SongPlayer::HasOutputDevice()) {
        noDevice_ = new QLabel(tr(captions::kNoOutputDevice), statusBar());
        noDevice_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        statusBar()->addPermanentWidget(noDevice_);
    }
    statusBar()->installEventFilter(this);
}

void frm::AddMenuItems(QMenu& into, const MenuEntry& menu)
{
    into.setObjectName(QString::fromStdString(menu.Name));
    for (const MenuEntry& item : menu.Items) {
        if (!item.Items.empty()) {
            AddMenuItems(*into.addMenu(ToText(item.Caption)), item);
            continue;
        }
        QAction* action = into.addAction(ToText(item.Caption));
        action->setObjectName(QString::fromStdString(item.Name));
        action->setCheckable(item.Checkable);
        action->setShortcut(QKeySequence(QString::fromStdString(item.Shortcut)));
        connect(action, &QAction::triggered, this, [this, command = item.Command] { controller_.MenuChosen(command); });
        actions_[item.Command] = action;
    }
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
    File->clear();
    for (const std::string& name : names)
        File->addItem(ToText(name)); // a name that is no valid text shows replacement characters
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
    for (const auto& [command, item] : actions_) {
        item->setChecked(menus.Checked(command));
        item->setEnabled(menus.Enabled(command));
    }
}

void frm::ShowStatus(const StatusText& text)
{
    status_ = ToText(text.Shown);
    statusWhole_ = ToText(text.Whole);
    ShowStatusText();
}

// The status bar cuts a long text off where the permanent notice begins, mid-word; an
// ellipsis shows that there is more, and the tooltip holds it all.
void frm::ShowStatusText()
{
    // The text starts a few pixels in and must end before the notice does begin.
    const int room = (noDevice_ && noDevice_->isVisible() ? noDevice_->x() : statusBar()->width()) - 16;
    statusBar()->showMessage(statusBar()->fontMetrics().elidedText(status_, Qt::ElideRight, std::max(room, 0)));
    statusBar()->setToolTip(statusWhole_);
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
    return ToBytes(BrowseForFolder(ToText(current), this, tr(captions::kChooseFolder)));
}

void frm::RunBatch(const BatchWork& work)
{
    brivane::RunBatch(*this, ui_, work);
}

bool frm::event(QEvent* event)
{
    // A menu item without a status tip would clear the bar: what it said comes back instead.
    if (event->type() == QEvent::StatusTip && static_cast<QStatusTipEvent*>(event)->tip().isEmpty()) {
        ShowStatusText();
        return true;
    }
    return QMainWindow::event(event);
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

void frm::ShowAbout()
{
    frmAbout about(this, ShellOpen);
    about.exec();
}

void frm::ShowGameMusic(const std::string& folder, const Conversion& rates)
{
    frmGameMusic dialog(this, folder, rates);
    dialog.exec();
}

void frm::closeEvent(QCloseEvent* event)
{
    controller_.Closing();
    QMainWindow::closeEvent(event);
}

} // namespace brivane
