#include "ui/qt/frmGameMusic.h"

#include "ui/qt/Controls.h"
#include "ui/qt/TextBytes.h"
#include "ui/qt/modBrowseForFolder.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace brivane {

using namespace game_music;

frmGameMusic::frmGameMusic(QWidget* owner, const std::string& folder, const Conversion& rates)
    : QDialog(owner), controller_(*this, ui_, player_, SongPlayer::HasOutputDevice(), folder, rates)
{
    setWindowTitle(tr(kTitle));
    const float tx = TwipsPerPixelX(*this), ty = TwipsPerPixelY(*this);
    setFixedSize(TwipsToPixels(kClientWidth, tx), TwipsToPixels(kClientHeight, ty));

    lstSongs = new QTreeWidget(this);
    lstSongs->setObjectName("lstSongs");
    lstSongs->setRootIsDecorated(false);
    lstSongs->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QStringList headers;
    for (const char* column : kColumns)
        headers << tr(column);
    lstSongs->setHeaderLabels(headers);
    for (int i = 0; i < static_cast<int>(std::size(kColumnTwips)); ++i)
        lstSongs->setColumnWidth(i, TwipsToPixels(kColumnTwips[i], tx));
    PlaceInTwips(*lstSongs, kListPlace, tx, ty);
    connect(lstSongs, &QTreeWidget::itemSelectionChanged, this, [this] { controller_.SelectionChanged(); });
    connect(lstSongs, &QTreeWidget::itemActivated, this, [this] { controller_.PlayClicked(); });

    for (int i = 0; i < kButtonCount; ++i) {
        buttons_[i] = new QPushButton(tr(kButtons[i].Caption), this);
        buttons_[i]->setObjectName(kButtons[i].Name);
        buttons_[i]->setAutoDefault(false);
        PlaceInTwips(*buttons_[i], ButtonPlace(i), tx, ty);
        connect(buttons_[i], &QPushButton::clicked, this, [this, i] {
            if (i == kClose)
                reject();
            else
                controller_.ButtonClicked(i);
        });
    }
    lblStatus = new QLabel(this);
    lblStatus->setObjectName("lblStatus");
    lblStatus->setTextFormat(Qt::PlainText);
    PlaceInTwips(*lblStatus, kStatusPlace, tx, ty);

    connect(&player_, &SongPlayer::Stopped, this, [this] { controller_.PlaybackEnded(); });
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, [this] { controller_.ClockTicked(); });
    clock->start(250);
    controller_.Start();
    lstSongs->setFocus();
}

void frmGameMusic::done(int result)
{
    controller_.Closing();
    QDialog::done(result);
}

void frmGameMusic::ShowSongs(const std::vector<GameMusicRow>& rows, const std::vector<std::size_t>& selected)
{
    lstSongs->clear();
    for (const GameMusicRow& row : rows) {
        const SongColumns& c = row.Columns;
        auto* item = new QTreeWidgetItem(lstSongs, {ToText(row.GameFile), QString::fromStdString(c.Number),
                                                    ToText(c.Name), QString::fromStdString(c.Layout),
                                                    QString::fromStdString(c.Size), QString::fromStdString(c.Length)});
        item->setTextAlignment(1, Qt::AlignRight);
    }
    FitColumns();
    for (const std::size_t row : selected)
        lstSongs->topLevelItem(static_cast<int>(row))->setSelected(true);
    if (lstSongs->topLevelItemCount() > 0)
        lstSongs->setCurrentItem(lstSongs->topLevelItem(selected.empty() ? 0 : static_cast<int>(selected.front())), 0,
                                 QItemSelectionModel::NoUpdate);
}

// The columns are as wide as the design makes them, or as their widest text needs.
void frmGameMusic::FitColumns()
{
    const float tx = TwipsPerPixelX(*this);
    for (int i = 0; i < static_cast<int>(std::size(kColumnTwips)); ++i) {
        lstSongs->resizeColumnToContents(i);
        lstSongs->setColumnWidth(i, std::max(lstSongs->columnWidth(i), TwipsToPixels(kColumnTwips[i], tx)));
    }
}

void frmGameMusic::ShowStatus(const std::string& text)
{
    lblStatus->setText(ToText(text));
    // As rich text, a long tooltip is wrapped to the screen instead of running off its edge.
    lblStatus->setToolTip("<p>" + ToText(text).toHtmlEscaped() + "</p>");
}

void frmGameMusic::ShowButtons(const GameMusicButtons& shown)
{
    for (int i = 0; i < kButtonCount; ++i)
        buttons_[i]->setEnabled(shown.Enabled(i));
}

std::vector<std::size_t> frmGameMusic::SelectedSongs() const
{
    std::vector<std::size_t> rows;
    for (QTreeWidgetItem* item : lstSongs->selectedItems())
        rows.push_back(static_cast<std::size_t>(lstSongs->indexOfTopLevelItem(item)));
    return rows;
}

std::string frmGameMusic::ChooseFolder(const std::string& current)
{
    return ToBytes(BrowseForFolder(ToText(current), this, tr(kExtractTitle)));
}

std::string frmGameMusic::ChooseSongFile(const std::string& folder)
{
    QStringList patterns;
    for (const std::string_view extension : kSongExtensions) {
        const QString pattern = "*" + QString::fromLatin1(extension.data(), static_cast<qsizetype>(extension.size()));
        patterns << pattern << pattern.toUpper();
    }
    const QString filter = tr(kSongFilesName) + " (" + patterns.join(' ') + ")";
    return ToBytes(QFileDialog::getOpenFileName(this, tr(kReplaceTitle), ToText(folder), filter));
}

} // namespace brivane
