#pragma once

#include "ui/main/MainLayout.h"
#include "ui/win32/Win32UserInteraction.h"
#include "ui/win32/clsResizeLimits.h"
#include "ui/window/MainWindowSettings.h"

#include <memory>
#include <string>
#include <vector>
#include <windows.h>

namespace brivane::win32 {

// The main window in Win32: the folder, its songs, the tick rate, and the Convert command.
// What it remembers and how a batch runs are the shared window layer's; this is only the
// controls, their layout and their events.
class frm {
public:
    frm(HINSTANCE instance, const std::string& settingsFile, const std::string& defaultFolder);
    frm(const frm&) = delete;
    frm& operator=(const frm&) = delete;
    ~frm();

    HWND Handle() const { return window_; }
    // Keyboard handling as in a dialog: Tab, the access keys, and Enter pressing Convert.
    bool TranslateDialogKeys(MSG& message);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void CreateMenus();
    void Load();
    void ApplyLayout();
    void MakeRoomForCaption();
    void ShowFolder(const std::string& folder);
    void ShowConversionChoice();
    void SetNote(const std::string& note);
    void OnCommand(int id, int notification);
    void OnScroll(int request);

    void cmdBrowse_Click();
    void cmdSelectAll_Click();
    void cmdConvert_Click();
    void hsbTics_Change(int value);
    void mnuOptionsMakeBackups_Click();
    void mnuHelpAbout_Click();

    std::string settingsFile_;
    std::string defaultFolder_;
    std::string folder_; // the path label's tag: the folder shown, in full
    std::vector<std::string> songs_;
    Win32UserInteraction ui_;
    std::unique_ptr<MainWindowSettings> settings_;
    std::unique_ptr<clsResizeLimits> objResizeLimits;
    MainLayout layout_;
    HFONT font_ = nullptr;

    HWND window_ = nullptr;
    HWND lblFolder = nullptr, cmdBrowse = nullptr, File = nullptr, cmdSelectAll = nullptr;
    HWND lbl = nullptr, lblTics = nullptr, hsbTics = nullptr, cmdConvert = nullptr;
    HWND statusBar_ = nullptr, toolTip_ = nullptr;
    HMENU mnuOptions = nullptr, mnuOptionsGame = nullptr, mnuOptionsConvertTo = nullptr;
};

} // namespace brivane::win32
