#pragma once

#include "ui/qt/MessageBoxInteraction.h"
#include "ui/qt/SongPlayer.h"
#include "ui/shared/GameMusicController.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace brivane {

// The Game Music dialog in Qt: the songs of the folder's game files in a list, the buttons
// beside it and a status line. What it does is its controller's.
class frmGameMusic : public QDialog, private GameMusicView {
    Q_OBJECT

public:
    frmGameMusic(QWidget* owner, const std::string& folder, const Conversion& rates);

protected:
    void done(int result) override;

private:
    void ShowSongs(const std::vector<GameMusicRow>& rows, const std::vector<std::size_t>& selected) override;
    void ShowStatus(const std::string& text) override;
    void ShowButtons(const GameMusicButtons& buttons) override;
    std::vector<std::size_t> SelectedSongs() const override;
    std::string ChooseFolder(const std::string& current) override;
    std::string ChooseSongFile(const std::string& folder) override;
    void FitColumns();

    MessageBoxInteraction ui_{this};
    SongPlayer player_;
    GameMusicController controller_;
    QTreeWidget* lstSongs = nullptr;
    QLabel* lblStatus = nullptr;
    QPushButton* buttons_[game_music::kButtonCount] = {};
};

} // namespace brivane
