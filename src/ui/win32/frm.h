#pragma once

#include "interaction/UserInteraction.h"
#include "ui/shared/MainLayout.h"
#include "ui/win32/SongPlayer.h"
#include "ui/win32/clsResizeLimits.h"
#include "ui/shared/MainWindowSettings.h"

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
    // The controls' IDs, for GetDlgItem; menu commands arrive as WM_COMMAND with theirs.
    enum Command : int {
        kFolder = 100, kBrowse, kFile, kSelectAll, kTics, kTicsValue, kConvert, kStatus,
        kFileExit = 200, kOptionsMakeBackups, kHelpAbout, kPlayPlaySong, kPlayStop, kOptionsExactTiming,
        kOptionsGame = 300,      // + the game's index
        kOptionsConvertTo = 400, // + the target's index
    };

    // The settings live in `settingsFile`; `defaultFolder` is shown when no folder is stored,
    // or the stored one is gone. Messages go to `boxes`.
    frm(HINSTANCE instance, const std::string& settingsFile, const std::string& defaultFolder, UserInteraction& boxes);
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
    void OnScroll(WPARAM wParam);
    std::string CurrentSongPath() const;
    void PlayCurrentSong();
    void StopPlaying();
    void ShowStatus();
    void ShowStatusParts();
    void ShowStatusText();
    void SetTip(HWND described, const std::wstring& text);

    void cmdBrowse_Click();
    void cmdSelectAll_Click();
    void cmdConvert_Click();
    void hsbTics_Change(int value);
    void mnuOptionsMakeBackups_Click();
    void mnuOptionsExactTiming_Click();
    void mnuHelpAbout_Click();

    std::string settingsFile_;
    std::string defaultFolder_;
    std::string folder_; // the path label's tag: the folder shown, in full
    std::vector<std::string> songs_;
    UserInteraction& ui_;
    std::unique_ptr<MainWindowSettings> settings_;
    std::unique_ptr<clsResizeLimits> objResizeLimits;
    MainLayout layout_;
    std::unique_ptr<WaveOutPlayer> player_;
    bool hasOutputDevice_ = false;
    bool playingHeaderless_ = false;
    std::string playingName_;
    std::string note_;
    std::string statusText_; // in full; the bar may show it cut short
    HFONT font_ = nullptr;

    HWND window_ = nullptr;
    HWND lblFolder = nullptr, cmdBrowse = nullptr, File = nullptr, cmdSelectAll = nullptr;
    HWND lbl = nullptr, lblTics = nullptr, hsbTics = nullptr, cmdConvert = nullptr;
    HWND statusBar_ = nullptr, toolTip_ = nullptr;
    HMENU mnuPlay = nullptr;
    HMENU mnuOptions = nullptr, mnuOptionsGame = nullptr, mnuOptionsConvertTo = nullptr;
};

} // namespace brivane::win32
