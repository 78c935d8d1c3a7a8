#pragma once

#include "interaction/UserInteraction.h"
#include "ui/shared/Captions.h"
#include "ui/shared/MainLayout.h"
#include "ui/shared/MainWindowController.h"
#include "ui/win32/BatchRunner.h"
#include "ui/win32/Controls.h"
#include "ui/win32/modBrowseForFolder.h"
#include "ui/win32/SongPlayer.h"
#include "ui/win32/clsResizeLimits.h"

#include <memory>
#include <string>
#include <vector>
#include <windows.h>

namespace brivane::win32 {

// The main window in Win32: its controls, their layout and their events. What the window
// does is its controller's; this creates the controls, forwards their events and shows what
// the controller says.
class frm : private MainWindowView {
public:
    // The controls' IDs, for GetDlgItem; the menus' items arrive as WM_COMMAND with their MenuCommand.
    enum Control : int { kFolder = 100, kBrowse, kFile, kSelectAll, kTics, kTicsValue, kConvert, kStatus };

    // The settings live in `settingsFile`; `defaultFolder` is shown when no folder is stored,
    // or the stored one is gone. Messages go to `boxes`.
    frm(HINSTANCE instance, const std::string& settingsFile, const std::string& defaultFolder, UserInteraction& boxes);
    frm(const frm&) = delete;
    frm& operator=(const frm&) = delete;
    ~frm() override;

    HWND Handle() const { return window_; }
    // Keyboard handling as in a dialog: Tab, the access keys, and Enter pressing Convert.
    bool TranslateDialogKeys(MSG& message);

private:
    // What the controller shows, and asks of the controls.
    void ShowFolder(const std::string& folder) override
    {
        folder_ = folder;
        ApplyLayout(); // the path is fitted to the label's current width
    }
    void ShowSongs(const std::vector<std::string>& names) override;
    void ShowTics(int tics) override;
    void ShowConvertCaption(const std::string& caption) override { SetText(cmdConvert, caption); }
    void ShowMenus(const MenuStates& menus) override;
    void ShowStatus(const StatusText& text) override
    {
        statusText_ = text;
        ShowStatusText();
    }
    std::vector<std::size_t> SelectedSongs() const override;
    // One message for the whole list: LB_SELITEMRANGEEX misbehaves under Wine.
    void SelectAllSongs() override { ::SendMessageW(File, LB_SETSEL, TRUE, -1); }
    std::string ChooseFolder(const std::string& current) override
    {
        return BrowseForFolder(current, window_, captions::kChooseFolder);
    }
    void RunBatch(const BatchWork& work) override { win32::RunBatch(window_, boxes_, work); }
    void ShowAbout() override;
    void ShowGameMusic(const std::string& folder, const Conversion& rates) override;
    void CloseWindow() override { ::SendMessageW(window_, WM_CLOSE, 0, 0); }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    HMENU CreateMenu(const MenuEntry& menu, bool bar);
    void ApplyLayout();
    void OnCommand(int id, int notification);
    void OnScroll(WPARAM wParam);
    void ShowStatusParts();
    void ShowStatusText();
    void SetTip(HWND described, const std::wstring& text);

    UserInteraction& boxes_;
    bool hasOutputDevice_;
    std::string folder_; // the path label's tag: the folder shown, in full
    StatusText statusText_; // the bar shows its short form, perhaps cut
    std::unique_ptr<clsResizeLimits> objResizeLimits;
    MainLayout layout_;
    std::unique_ptr<SongPlayer> player_;
    std::unique_ptr<MainWindowController> controller_;
    HFONT font_ = nullptr;

    HWND window_ = nullptr;
    HWND lblFolder = nullptr, cmdBrowse = nullptr, File = nullptr, cmdSelectAll = nullptr;
    HWND lbl = nullptr, lblTics = nullptr, hsbTics = nullptr, cmdConvert = nullptr;
    HWND statusBar_ = nullptr, toolTip_ = nullptr;
    std::vector<std::pair<HMENU, int>> commands_; // each menu item and its MenuCommand
};

} // namespace brivane::win32
