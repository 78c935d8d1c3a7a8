#pragma once

#include "ui/qt/clsResizeLimits.h"
#include "ui/shared/MainLayout.h"
#include "ui/qt/MessageBoxes.h"
#include "ui/shared/MainWindowSettings.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QCloseEvent;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollBar;

namespace brivane {

class PlaybackPanel;

// The main window: the folder, its songs, the tick rate, and the Convert command. Every
// setting is saved the moment it changes; nothing is written at exit.
class frm : public QMainWindow {
    Q_OBJECT

public:
    // The settings live in `settingsFile`; `defaultFolder` is shown when no folder is stored,
    // or the stored one is gone.
    frm(const QString& settingsFile, const QString& defaultFolder, QWidget* parent = nullptr);
    ~frm() override;

    float TicScale() const { return TicScale_; }
    const MainLayout& Layout() const { return layout_; }
    const QString& SettingsPath() const { return settingsFile_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void SetTabOrder();
    void Load();
    void ApplyLayout();
    void MakeRoomForCaption();

    void cmdBrowse_Click();
    void cmdSelectAll_Click();
    void cmdConvert_Click();
    void hsbTics_Change(int value);
    void mnuOptionsMakeBackups_Click();
    void mnuOptionsExactTiming_Click();
    void mnuOptionsGame_Click(const GamePreset& game);
    void mnuOptionsConvertTo_Click(const GamePreset& target);
    void ShowConversionChoice();
    void mnuHelpAbout_Click();

    QString settingsFile_;
    QString defaultFolder_;
    QtUserInteraction ui_{this};
    std::unique_ptr<MainWindowSettings> settings_;
    std::unique_ptr<clsResizeLimits> objResizeLimits;
    float TicScale_ = 1.0f;
    MainLayout layout_;
    PlaybackPanel* playback_ = nullptr; // a child of the window

    QWidget* client_ = nullptr;
    QLabel* lblFolder = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QListWidget* File = nullptr;
    QPushButton* cmdSelectAll = nullptr;
    QLabel* lbl = nullptr;
    QLabel* lblTics = nullptr;
    QScrollBar* hsbTics = nullptr;
    QPushButton* cmdConvert = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuOptions = nullptr;
    QAction* mnuOptionsMakeBackups = nullptr;
    QAction* mnuOptionsExactTiming = nullptr;
    QMenu* mnuOptionsGame = nullptr;
    QMenu* mnuOptionsConvertTo = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpAbout = nullptr;
};

} // namespace brivane
