#pragma once

#include "ui/qt/MessageBoxInteraction.h"
#include "ui/qt/SongPlayer.h"
#include "ui/qt/clsResizeLimits.h"
#include "ui/shared/MainLayout.h"
#include "ui/shared/MainWindowController.h"

#include <QMainWindow>

#include <map>
#include <memory>

class QAction;
class QCloseEvent;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollBar;

namespace brivane {

// The main window in Qt: its controls, their layout and their events. What the window does
// is its controller's; this creates the controls, forwards their events and shows what the
// controller says.
class frm : public QMainWindow, private MainWindowView {
    Q_OBJECT

public:
    // The settings live in `settingsFile`; `defaultFolder` is shown when no folder is stored,
    // or the stored one is gone.
    frm(const QString& settingsFile, const QString& defaultFolder, QWidget* parent = nullptr);
    ~frm() override;

    float TicScale() const { return controller_.TicScale(); }
    const MainLayout& Layout() const { return layout_; }
    const QString& SettingsPath() const { return settingsFile_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowFolder(const std::string& folder) override;
    void ShowSongs(const std::vector<std::string>& names) override;
    void ShowTics(int tics) override;
    void ShowConvertCaption(const std::string& caption) override;
    void ShowMenus(const MenuStates& menus) override;
    void ShowStatus(const StatusText& text) override;
    std::vector<std::size_t> SelectedSongs() const override;
    void SelectAllSongs() override;
    std::string ChooseFolder(const std::string& current) override;
    void RunBatch(const BatchWork& work) override;
    void ShowAbout() override;
    void ShowGameMusic(const std::string& folder, const Conversion& rates) override;
    void CloseWindow() override { close(); }

    void CreateControls();
    void CreateMenus();
    void AddMenuItems(QMenu& into, const MenuEntry& menu);
    QAction* action(int command) const { return actions_.at(command); }
    void SetTabOrder();
    void ApplyLayout();
    void ShowStatusText();

    QString settingsFile_;
    MessageBoxInteraction ui_{this};
    SongPlayer player_;
    MainWindowController controller_{*this, ui_, player_, SongPlayer::HasOutputDevice()};
    std::unique_ptr<clsResizeLimits> objResizeLimits;
    MainLayout layout_;
    QString status_, statusWhole_; // the short form the bar shows, perhaps cut, and the whole

    QWidget* client_ = nullptr;
    QLabel* lblFolder = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QListWidget* File = nullptr;
    QPushButton* cmdSelectAll = nullptr;
    QLabel* lbl = nullptr;
    QLabel* lblTics = nullptr;
    QScrollBar* hsbTics = nullptr;
    QPushButton* cmdConvert = nullptr;
    QLabel* noDevice_ = nullptr; // on the status bar, when there is no output device

    std::map<int, QAction*> actions_; // the menus' items, by their MenuCommand
};

} // namespace brivane
