#include "ui/win32/frmGameMusic.h"

#include <commctrl.h>
#include <commdlg.h>

namespace brivane::win32 {

using namespace game_music;

namespace {

constexpr UINT kPlaybackStopped = WM_APP + 4;
constexpr UINT_PTR kClockTimer = 1;

int IdOf(int button)
{
    return button == kClose ? IDCANCEL : frmGameMusic::kFirstButton + button;
}

} // namespace

frmGameMusic::frmGameMusic(HWND owner, std::string folder, const Conversion& rates)
    : owner_(owner), folder_(std::move(folder)), rates_(rates)
{
}

frmGameMusic::~frmGameMusic()
{
    ::DeleteObject(font_);
}

void frmGameMusic::ShowModal()
{
    RunEmptyDialog(owner_, Procedure, reinterpret_cast<LPARAM>(this));
}

void frmGameMusic::Load(HWND dialog)
{
    dialog_ = dialog;
    boxes_.SetOwner(dialog);
    SizeAndCentre(dialog, owner_, kClientWidth, kClientHeight);
    const float tpp = TwipsPerPixel(dialog);
    font_ = CreateMessageFont(dialog);
    SetText(dialog, kTitle);

    lstSongs = CreateChild(dialog, WC_LISTVIEWW, "", LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP, kSongs, font_,
                           WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(lstSongs, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        std::wstring header = Widen(kColumns[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = TwipsToPixels(kColumnTwips[i], tpp);
        column.pszText = header.data();
        ListView_InsertColumn(lstSongs, i, &column);
    }
    PlaceInTwips(lstSongs, kListPlace, tpp);
    for (int i = 0; i < kButtonCount; ++i)
        PlaceInTwips(CreateChild(dialog, L"BUTTON", kButtons[i].Caption, BS_PUSHBUTTON | WS_TABSTOP, IdOf(i), font_),
                     ButtonPlace(i), tpp);
    lblStatus = CreateChild(dialog, L"STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_ENDELLIPSIS, kStatus, font_);
    PlaceInTwips(lblStatus, kStatusPlace, tpp);

    player_ = std::make_unique<SongPlayer>(dialog, kPlaybackStopped);
    GameMusicView& view = *this;
    controller_ = std::make_unique<GameMusicController>(view, boxes_, *player_, SongPlayer::HasOutputDevice(),
                                                        folder_, rates_);
    controller_->Start();
    ::SetTimer(dialog, kClockTimer, 250, nullptr);
    ::SetFocus(lstSongs);
}

INT_PTR CALLBACK frmGameMusic::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = DialogObject<frmGameMusic>(dialog, message, lParam);
    if (!self || !self->controller_) // at WM_INITDIALOG the focus is set; the controls' first notes come before
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        self->OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == kSongs && header->code == LVN_ITEMCHANGED)
            self->controller_->SelectionChanged();
        else if (header->idFrom == kSongs && header->code == LVN_ITEMACTIVATE)
            self->controller_->PlayClicked();
        return TRUE;
    }
    case WM_TIMER:
        self->controller_->ClockTicked();
        return TRUE;
    case kPlaybackStopped:
        self->controller_->PlaybackEnded();
        return TRUE;
    case WM_DESTROY:
        ::KillTimer(dialog, kClockTimer);
        self->controller_->Closing();
        return TRUE;
    }
    return FALSE;
}

void frmGameMusic::OnCommand(int id)
{
    if (id == IDCANCEL)
        ::EndDialog(dialog_, IDCANCEL);
    else if (id == IDOK && ::GetFocus() == lstSongs) // Enter, which the dialog takes from the list
        controller_->PlayClicked();
    else if (id >= kFirstButton && id < kFirstButton + kButtonCount)
        controller_->ButtonClicked(id - kFirstButton);
}

void frmGameMusic::ShowSongs(const std::vector<GameMusicRow>& rows, const std::vector<std::size_t>& selected)
{
    ListView_DeleteAllItems(lstSongs);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const SongColumns& c = rows[row].Columns;
        const std::string* texts[] = {&rows[row].GameFile, &c.Number, &c.Name, &c.Layout, &c.Size, &c.Length};
        for (int column = 0; column < static_cast<int>(std::size(texts)); ++column) {
            std::wstring text = Widen(*texts[column]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.iSubItem = column;
            item.pszText = text.data();
            if (column == 0)
                ListView_InsertItem(lstSongs, &item);
            else
                ListView_SetItem(lstSongs, &item);
        }
    }
    FitColumns();
    for (const std::size_t row : selected)
        ListView_SetItemState(lstSongs, static_cast<int>(row), LVIS_SELECTED, LVIS_SELECTED);
    if (!rows.empty())
        ListView_SetItemState(lstSongs, selected.empty() ? 0 : static_cast<int>(selected.front()), LVIS_FOCUSED,
                              LVIS_FOCUSED);
}

// The columns are as wide as the design makes them, or as their widest text needs.
void frmGameMusic::FitColumns()
{
    const float tpp = TwipsPerPixel(dialog_);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        ListView_SetColumnWidth(lstSongs, i, LVSCW_AUTOSIZE_USEHEADER);
        const int fitted = ListView_GetColumnWidth(lstSongs, i);
        ListView_SetColumnWidth(lstSongs, i, std::max(fitted, TwipsToPixels(kColumnTwips[i], tpp)));
    }
}

void frmGameMusic::ShowButtons(const GameMusicButtons& shown)
{
    for (int i = 0; i < kButtonCount; ++i) {
        const HWND button = ::GetDlgItem(dialog_, IdOf(i));
        if (!shown.Enabled(i) && ::GetFocus() == button) // a disabled button would leave the keyboard nowhere
            ::SetFocus(lstSongs);
        ::EnableWindow(button, shown.Enabled(i));
    }
}

std::vector<std::size_t> frmGameMusic::SelectedSongs() const
{
    std::vector<std::size_t> rows;
    for (int row = ListView_GetNextItem(lstSongs, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(lstSongs, row, LVNI_SELECTED))
        rows.push_back(static_cast<std::size_t>(row));
    return rows;
}

std::string frmGameMusic::ChooseSongFile(const std::string& folder)
{
    std::string patterns;
    for (const std::string_view extension : kSongExtensions)
        patterns += (patterns.empty() ? "*" : ";*") + std::string(extension);
    std::wstring filter = Widen(std::string(kSongFilesName) + " (" + patterns + ")");
    filter.push_back(L'\0');
    filter += Widen(patterns);
    filter.push_back(L'\0');
    const std::wstring start = Widen(folder), title = Widen(kReplaceTitle);
    wchar_t chosen[32768] = L"";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = dialog_;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = static_cast<DWORD>(std::size(chosen));
    dialog.lpstrInitialDir = start.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    return ::GetOpenFileNameW(&dialog) ? Narrow(chosen) : std::string();
}

} // namespace brivane::win32
