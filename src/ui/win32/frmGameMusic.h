#pragma once

#include "ui/shared/GameMusicController.h"
#include "ui/win32/Controls.h"
#include "ui/win32/MessageBoxInteraction.h"
#include "ui/win32/SongPlayer.h"
#include "ui/win32/modBrowseForFolder.h"

#include <memory>
#include <string>
#include <windows.h>

namespace brivane::win32 {

// The Game Music dialog in Win32: the songs of the folder's game files in a list view, the
// buttons beside it and a status line. What it does is its controller's.
class frmGameMusic : private GameMusicView {
public:
    // The controls' IDs: the list, then the buttons in their shared order; Close is IDCANCEL.
    static constexpr int kSongs = 100, kStatus = 101, kFirstButton = 110;

    frmGameMusic(HWND owner, std::string folder, const Conversion& rates);
    ~frmGameMusic() override;
    // Returns when the dialog has been closed.
    void ShowModal();

private:
    void ShowSongs(const std::vector<GameMusicRow>& rows, const std::vector<std::size_t>& selected) override;
    void ShowStatus(const std::string& text) override { SetText(lblStatus, text); }
    void ShowButtons(const GameMusicButtons& buttons) override;
    std::vector<std::size_t> SelectedSongs() const override;
    std::string ChooseFolder(const std::string& current) override
    {
        return BrowseForFolder(current, dialog_, game_music::kExtractTitle);
    }
    std::string ChooseSongFile(const std::string& folder) override;

    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    template <typename Dialog>
    friend Dialog* DialogObject(HWND dialog, UINT message, LPARAM lParam);
    void Load(HWND dialog);
    void OnCommand(int id);
    void FitColumns();

    HWND owner_;
    MessageBoxInteraction boxes_; // owned by the dialog, which they keep from input while shown
    std::string folder_;
    Conversion rates_;
    std::unique_ptr<SongPlayer> player_;
    std::unique_ptr<GameMusicController> controller_;
    HFONT font_ = nullptr;
    HWND dialog_ = nullptr, lstSongs = nullptr, lblStatus = nullptr;
};

} // namespace brivane::win32
