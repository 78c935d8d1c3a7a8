#include "ui/win32/frm.h"

#include "conversion/ConvertCommand.h"
#include "conversion/GamePresets.h"
#include "conversion/ImfInfo.h"
#include "conversion/ImfPaths.h"
#include "platform/ApplicationInfo.h"
#include "platform/FileSystem.h"
#include "ui/win32/BatchRunner.h"
#include "ui/win32/Controls.h"
#include "ui/win32/frmAbout.h"
#include "ui/win32/modBrowseForFolder.h"
#include "ui/win32/modDrawText.h"
#include "ui/win32/modMouseOver.h"
#include "ui/shared/MenuText.h"
#include "ui/shared/PlaybackStatus.h"
#include "ui/shared/SongToPlay.h"

#include <algorithm>
#include <commctrl.h>

namespace brivane::win32 {
namespace {

const wchar_t* const kClassName = L"BrivaneMain";
constexpr int kDesignTics = 350;
constexpr int kPageStep = 25;
constexpr UINT kPlaybackStopped = WM_APP + 3;
constexpr UINT_PTR kClockTimer = 1;

int PresetIndex(const GamePreset& preset)
{
    return static_cast<int>(&preset - kGamePresets.data());
}

bool IsReadableFolder(const std::string& path)
{
    return !path.empty() && LookUpPath(path).Kind == PathKind::Directory;
}

std::vector<std::string> SongsIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (std::string& name : VisibleFilesIn(folder))
        if (IsSongName(name))
            names.push_back(std::move(name));
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const int order = ::CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, Widen(a).c_str(), -1,
                                            Widen(b).c_str(), -1, nullptr, nullptr, 0);
        return order != CSTR_EQUAL ? order == CSTR_LESS_THAN : a < b;
    });
    return names;
}

} // namespace

frm::frm(HINSTANCE instance, const std::string& settingsFile, const std::string& defaultFolder, UserInteraction& boxes)
    : settingsFile_(settingsFile), defaultFolder_(defaultFolder), ui_(boxes)
{
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = Procedure;
    type.hInstance = instance;
    type.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    type.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0));
    type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = kClassName;
    ::RegisterClassExW(&type);
    window_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, Widen(kApplicationTitle).c_str(),
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 400, 400,
                                nullptr, nullptr, instance, this);
    settings_ = std::make_unique<MainWindowSettings>(ui_);
    objResizeLimits = std::make_unique<clsResizeLimits>();
    font_ = CreateMessageFont(window_);
    player_ = std::make_unique<WaveOutPlayer>(window_, kPlaybackStopped);
    hasOutputDevice_ = WaveOutPlayer::HasOutputDevice();
    CreateControls();
    CreateMenus();
    Load();

    // The design's client area, with the menu and the status bar on top of it; the smallest
    // area the layout fits is 1680 by 1830 twips.
    const float tpp = TwipsPerPixel(window_);
    RECT status{};
    ::GetWindowRect(statusBar_, &status);
    const int statusHeight = status.bottom - status.top;
    RECT frame{0, 0, TwipsToPixels(MainLayout::kDesignWidth, tpp),
               TwipsToPixels(MainLayout::kDesignHeight, tpp) + statusHeight};
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CONTROLPARENT);
    RECT smallest{0, 0, TwipsToPixels(1680, tpp), TwipsToPixels(1830, tpp) + statusHeight};
    ::AdjustWindowRectEx(&smallest, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CONTROLPARENT);
    objResizeLimits->AddLimits(window_, smallest.right - smallest.left, smallest.bottom - smallest.top, 0, 0, true);
    ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER);
    ::SetTimer(window_, kClockTimer, 250, nullptr);
    ::SetFocus(cmdBrowse);
}

frm::~frm()
{
    player_.reset();
    // Hooked windows get their own procedures back; the settings go without saving, since
    // every setting was saved when it changed.
    objResizeLimits.reset();
    settings_.reset();
    if (::IsWindow(window_))
        ::DestroyWindow(window_);
    ::DeleteObject(font_);
}

void frm::CreateControls()
{
    lblFolder = CreateChild(window_, L"STATIC", "", SS_SUNKEN | SS_NOPREFIX | SS_NOTIFY | SS_CENTERIMAGE, kFolder, font_);
    cmdBrowse = CreateChild(window_, L"BUTTON", "...", WS_TABSTOP, kBrowse, font_);
    File = CreateChild(window_, L"LISTBOX", "",
                       WS_TABSTOP | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, kFile, font_,
                       WS_EX_CLIENTEDGE);
    cmdSelectAll = CreateChild(window_, L"BUTTON", "Select &All", WS_TABSTOP, kSelectAll, font_);
    lbl = CreateChild(window_, L"STATIC", "Original Tics:", SS_LEFT, 0, font_);
    lblTics = CreateChild(window_, L"STATIC", std::to_string(kDesignTics), SS_CENTER, kTicsValue, font_);
    hsbTics = CreateChild(window_, L"SCROLLBAR", "", WS_TABSTOP | SBS_HORZ, kTics, font_);
    SCROLLINFO range{};
    range.cbSize = sizeof range;
    range.fMask = SIF_RANGE | SIF_POS;
    range.nMin = kMinOriginalTics;
    range.nMax = kMaxOriginalTics;
    range.nPos = kDesignTics;
    ::SetScrollInfo(hsbTics, SB_CTL, &range, FALSE);
    cmdConvert = CreateChild(window_, L"BUTTON", "Convert to Wolfenstein IMF", WS_TABSTOP | BS_DEFPUSHBUTTON,
                             kConvert, font_);
    statusBar_ = CreateChild(window_, STATUSCLASSNAMEW, "", SBARS_SIZEGRIP, kStatus, font_);

    // The tab order: Browse, the list, Convert, Select All, the scroll bar.
    for (const HWND control : {cmdBrowse, File, cmdConvert, cmdSelectAll, hsbTics})
        ::SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    toolTip_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, window_, nullptr,
                                 nullptr, nullptr);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.lpszText = const_cast<wchar_t*>(L"");
    for (const HWND described : {lblFolder, statusBar_}) {
        tool.uId = reinterpret_cast<UINT_PTR>(described);
        ::SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    ::SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, 800);
}

void frm::CreateMenus()
{
    const HMENU bar = ::CreateMenu();
    const HMENU mnuFile = ::CreatePopupMenu();
    ::AppendMenuW(mnuFile, MF_STRING, kFileExit, L"E&xit");
    mnuOptions = ::CreatePopupMenu();
    ::AppendMenuW(mnuOptions, MF_STRING, kOptionsMakeBackups, L"&Make Backups");
    ::AppendMenuW(mnuOptions, MF_STRING, kOptionsExactTiming, L"&Exact Timing");
    mnuOptionsGame = ::CreatePopupMenu();
    mnuOptionsConvertTo = ::CreatePopupMenu();
    for (const GamePreset& preset : kGamePresets) {
        ::AppendMenuW(mnuOptionsGame, MF_STRING, kOptionsGame + PresetIndex(preset),
                      Widen(WithAccessKey(preset.Title, preset.AccessKey)).c_str());
        ::AppendMenuW(mnuOptionsConvertTo, MF_STRING, kOptionsConvertTo + PresetIndex(preset),
                      Widen(WithAccessKey(preset.Name, preset.AccessKey)).c_str());
    }
    ::AppendMenuW(mnuOptions, MF_POPUP, reinterpret_cast<UINT_PTR>(mnuOptionsGame), L"&Game");
    ::AppendMenuW(mnuOptions, MF_POPUP, reinterpret_cast<UINT_PTR>(mnuOptionsConvertTo), L"Convert &To");
    mnuPlay = ::CreatePopupMenu();
    ::AppendMenuW(mnuPlay, MF_STRING | (hasOutputDevice_ ? 0 : MF_GRAYED), kPlayPlaySong, L"&Play Song\tCtrl+P");
    ::AppendMenuW(mnuPlay, MF_STRING | MF_GRAYED, kPlayStop, L"&Stop\tEsc");
    const HMENU mnuHelp = ::CreatePopupMenu();
    ::AppendMenuW(mnuHelp, MF_STRING, kHelpAbout, L"&About");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(mnuFile), L"&File");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(mnuOptions), L"&Options");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(mnuPlay), L"&Play");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(mnuHelp), L"&Help");
    ::SetMenu(window_, bar);
}

void frm::Load()
{
    settings_->Load(settingsFile_);
    // A stored folder that is gone or unreadable shows the default folder; the stored key
    // stays until the user picks another.
    const std::string stored = settings_->StoredFolder();
    std::string folder = stored.empty() ? defaultFolder_ : stored;
    std::string folderNote;
    if (!IsReadableFolder(folder)) {
        folderNote = MainWindowSettings::FolderNote(folder, defaultFolder_);
        folder = defaultFolder_;
    }
    ShowFolder(folder);
    ::SetScrollPos(hsbTics, SB_CTL, settings_->Tics(), TRUE);
    // As the bar's own change would: a clamped or first-time rate is written back.
    if (settings_->Tics() != kDesignTics)
        hsbTics_Change(settings_->Tics());
    ::CheckMenuItem(mnuOptions, kOptionsMakeBackups, settings_->MakeBackups() ? MF_CHECKED : MF_UNCHECKED);
    ::CheckMenuItem(mnuOptions, kOptionsExactTiming, settings_->Choice().ExactTiming() ? MF_CHECKED : MF_UNCHECKED);
    ShowConversionChoice();
    if (!folderNote.empty())
        SetNote(folderNote);
}

void frm::ShowFolder(const std::string& folder)
{
    folder_ = folder;
    ApplyLayout(); // the path is fitted to the label's current width
    ::SendMessageW(File, LB_RESETCONTENT, 0, 0);
    songs_ = SongsIn(folder);
    for (const std::string& name : songs_)
        ::SendMessageW(File, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
}

void frm::ShowConversionChoice()
{
    const ConversionChoice& choice = settings_->Choice();
    const GamePreset* marked = choice.MarkedGame();
    for (const GamePreset& preset : kGamePresets) {
        ::CheckMenuItem(mnuOptionsGame, kOptionsGame + PresetIndex(preset),
                        &preset == marked ? MF_CHECKED : MF_UNCHECKED);
        ::CheckMenuItem(mnuOptionsConvertTo, kOptionsConvertTo + PresetIndex(preset),
                        &preset == &choice.Target() ? MF_CHECKED : MF_UNCHECKED);
    }
    SetText(cmdConvert, choice.ConvertCaption());
    SetNote(choice.LengthWordNote());
}

void frm::SetNote(const std::string& note)
{
    note_ = note;
    ShowStatus();
}

// The song under the list's caret: what Play plays and the status bar describes.
std::string frm::CurrentSongPath() const
{
    const auto index = ::SendMessageW(File, LB_GETCARETINDEX, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= songs_.size() || !::SendMessageW(File, LB_GETSEL, index, 0))
        return {};
    return JoinPath(folder_, songs_[static_cast<std::size_t>(index)]);
}

void frm::ShowStatus()
{
    std::string text = note_;
    if (player_->IsPlaying()) {
        text = PlayingStatus(playingName_, player_->TickRate(), player_->PositionSeconds(), player_->LengthSeconds());
    } else if (const std::string path = CurrentSongPath(); !path.empty()) {
        text = SongStatus(DisplayName(path), DescribeImf(path, settings_->Choice().Rates()));
    }
    ::EnableMenuItem(mnuPlay, kPlayStop, player_->IsPlaying() ? MF_ENABLED : MF_GRAYED);
    statusText_ = text;
    ShowStatusText();
}

// The status bar cuts a long text off mid-word; an ellipsis shows that there is more, and the
// tooltip holds it all.
void frm::ShowStatusText()
{
    RECT part{};
    ::SendMessageW(statusBar_, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
    const std::wstring full = Widen(statusText_);
    const std::wstring shown = FitTextWithEllipsis(statusBar_, full, part.right - part.left - 8);
    ::SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    SetTip(statusBar_, full);
}

void frm::SetTip(HWND described, const std::wstring& text)
{
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(described);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// Without an output device the bar's right end says so for as long as the window is open.
void frm::ShowStatusParts()
{
    RECT bar{};
    ::GetClientRect(statusBar_, &bar);
    const int notice = hasOutputDevice_ ? 0 : TwipsToPixels(2600, TwipsPerPixel(window_));
    const int parts[2] = {bar.right - notice, -1};
    ::SendMessageW(statusBar_, SB_SETPARTS, hasOutputDevice_ ? 1 : 2, reinterpret_cast<LPARAM>(parts));
    if (!hasOutputDevice_)
        ::SendMessageW(statusBar_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"No audio output device"));
}

void frm::PlayCurrentSong()
{
    const std::string path = CurrentSongPath();
    if (path.empty() || !hasOutputDevice_)
        return;
    std::optional<SongToPlay> toPlay = LoadSongToPlay(path, settings_->Choice(), ui_);
    if (!toPlay)
        return;
    playingHeaderless_ = toPlay->Headerless;
    playingName_ = DisplayName(path);
    if (!player_->Play(std::move(toPlay->Song), toPlay->TickRate))
        ui_.ShowMessage("Could not play " + path + ": the audio output device cannot be opened", "Could not play",
                        MB_ICONHAND);
    ShowStatus();
}

void frm::StopPlaying()
{
    player_->Stop();
    ShowStatus();
}

void frm::ApplyLayout()
{
    if (!lblFolder)
        return;
    RECT client{}, status{};
    ::GetClientRect(window_, &client);
    ::SendMessageW(statusBar_, WM_SIZE, 0, 0);
    ShowStatusParts();
    ShowStatusText();
    ::GetWindowRect(statusBar_, &status);
    const float tpp = TwipsPerPixel(window_);
    layout_.Arrange(PixelsToTwips(client.right, tpp), PixelsToTwips(client.bottom - (status.bottom - status.top), tpp));
    PlaceInTwips(cmdBrowse, layout_.cmdBrowse, tpp);
    PlaceInTwips(lblFolder, layout_.lblFolder, tpp);
    PlaceInTwips(cmdConvert, layout_.cmdConvert, tpp);
    PlaceInTwips(lbl, layout_.lbl, tpp);
    PlaceInTwips(lblTics, layout_.lblTics, tpp);
    PlaceInTwips(hsbTics, layout_.hsbTics, tpp);
    MakeRoomForCaption();
    PlaceInTwips(cmdSelectAll, layout_.cmdSelectAll, tpp);
    PlaceInTwips(File, layout_.File, tpp);

    const std::string shown = FitPathToLabel(window_, lblFolder, folder_);
    SetTip(lblFolder, shown == folder_ ? std::wstring() : Widen(folder_));
}

// Fonts here may run "Original Tics:" wider than its design width: the caption is drawn
// whole, and the value and the bar move right by what it needs, the bar's right edge staying.
void frm::MakeRoomForCaption()
{
    const std::wstring caption = Widen(TextOf(lbl)) + L" ";
    const HDC context = ::GetDC(lbl);
    const HGDIOBJ old = ::SelectObject(context, font_);
    SIZE text{};
    ::GetTextExtentPoint32W(context, caption.c_str(), static_cast<int>(caption.size()), &text);
    ::SelectObject(context, old);
    ::ReleaseDC(lbl, context);
    RECT label{}, value{}, bar{};
    for (auto [control, rect] : {std::pair{lbl, &label}, {lblTics, &value}, {hsbTics, &bar}}) {
        ::GetWindowRect(control, rect);
        ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(rect), 2);
    }
    if (text.cx > label.right - label.left)
        ::MoveWindow(lbl, label.left, label.top, text.cx, label.bottom - label.top, TRUE);
    const int needed = label.left + text.cx - value.left;
    if (needed <= 0)
        return;
    ::MoveWindow(lblTics, value.left + needed, value.top, value.right - value.left, value.bottom - value.top, TRUE);
    ::MoveWindow(hsbTics, bar.left + needed, bar.top, std::max(0L, bar.right - bar.left - needed), bar.bottom - bar.top,
                 TRUE);
}

bool frm::TranslateDialogKeys(MSG& message)
{
    if (message.message == WM_KEYDOWN && ::GetAncestor(message.hwnd, GA_ROOT) == window_) {
        // Enter presses Convert even on another button, as the Linux window does.
        if (message.wParam == VK_RETURN) {
            ::SendMessageW(window_, WM_COMMAND, MAKEWPARAM(kConvert, BN_CLICKED), reinterpret_cast<LPARAM>(cmdConvert));
            return true;
        }
        if (message.wParam == 'P' && (::GetKeyState(VK_CONTROL) & 0x8000)) {
            PlayCurrentSong();
            return true;
        }
    }
    return ::IsDialogMessageW(window_, &message) != FALSE;
}

LRESULT CALLBACK frm::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<frm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<frm*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->Handle(message, wParam, lParam) : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT frm::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            ApplyLayout();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_DPICHANGED: { // moved to a screen of another density: the twips stay, the pixels change
        const HFONT old = font_;
        font_ = CreateMessageFont(window_);
        for (HWND child = ::GetWindow(window_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
        ::DeleteObject(old);
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == hsbTics)
            OnScroll(wParam);
        return 0;
    case DM_GETDEFID: // Convert is the default button
        return MAKELRESULT(kConvert, DC_HASDEFID);
    case kRunOnWindowThread:
        return RunOnWindowThread(lParam);
    case kPlaybackStopped:
        StopPlaying();
        return 0;
    case WM_TIMER:
        if (wParam == kClockTimer && player_->IsPlaying())
            ShowStatus();
        return 0;
    case WM_CLOSE: // the user closes the window, and with it the program
        player_->Stop();
        ::DestroyWindow(window_);
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void frm::OnCommand(int id, int notification)
{
    if (id >= kOptionsGame && id < kOptionsGame + static_cast<int>(kGamePresets.size())) {
        const GamePreset& game = kGamePresets[static_cast<std::size_t>(id - kOptionsGame)];
        settings_->GameChosen(game);
        ::SetScrollPos(hsbTics, SB_CTL, game.OriginalTics, TRUE);
        hsbTics_Change(game.OriginalTics); // stores the rate, as any move does
        return;
    }
    if (id >= kOptionsConvertTo && id < kOptionsConvertTo + static_cast<int>(kGamePresets.size())) {
        settings_->TargetChosen(kGamePresets[static_cast<std::size_t>(id - kOptionsConvertTo)]);
        ShowConversionChoice();
        return;
    }
    switch (id) {
    case kBrowse: cmdBrowse_Click(); break;
    case kSelectAll: cmdSelectAll_Click(); break;
    case kConvert:
    case IDOK: cmdConvert_Click(); break;
    case kFile:
        if (notification == LBN_DBLCLK)
            PlayCurrentSong();
        else if (notification == LBN_SELCHANGE)
            ShowStatus();
        break;
    case kPlayPlaySong: PlayCurrentSong(); break;
    case kPlayStop:
    case IDCANCEL: StopPlaying(); break; // Esc
    case kFileExit: ::SendMessageW(window_, WM_CLOSE, 0, 0); break;
    case kOptionsMakeBackups: mnuOptionsMakeBackups_Click(); break;
    case kOptionsExactTiming: mnuOptionsExactTiming_Click(); break;
    case kHelpAbout: mnuHelpAbout_Click(); break;
    default: break;
    }
}

// The scroll bar's requests as the keyboard and the mouse make them: arrows step by one,
// the track and Page keys by 25, Home and End to the ends, and every thumb move counts.
void frm::OnScroll(WPARAM wParam)
{
    const int request = LOWORD(wParam);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ::GetScrollInfo(hsbTics, SB_CTL, &info);
    int value = info.nPos;
    switch (request) {
    case SB_LINELEFT: value -= 1; break;
    case SB_LINERIGHT: value += 1; break;
    case SB_PAGELEFT: value -= kPageStep; break;
    case SB_PAGERIGHT: value += kPageStep; break;
    case SB_LEFT: value = kMinOriginalTics; break;
    case SB_RIGHT: value = kMaxOriginalTics; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: value = static_cast<short>(HIWORD(wParam)); break;
    default: return; // SB_ENDSCROLL
    }
    value = std::clamp(value, kMinOriginalTics, kMaxOriginalTics);
    if (value == info.nPos)
        return;
    ::SetScrollPos(hsbTics, SB_CTL, value, TRUE);
    hsbTics_Change(value);
}

void frm::hsbTics_Change(int value)
{
    SetText(lblTics, std::to_string(value));
    settings_->TicsChanged(value);
    if (playingHeaderless_ && player_->IsPlaying())
        player_->SetTickRate(value);
    ShowConversionChoice();
}

void frm::cmdBrowse_Click()
{
    const std::string chosen = BrowseForFolder(folder_, window_, "Select a folder");
    if (chosen.empty())
        return;
    StopPlaying();
    ShowFolder(chosen);
    settings_->FolderChosen(chosen);
}

void frm::cmdSelectAll_Click()
{
    // One message for the whole list: LB_SELITEMRANGEEX misbehaves under Wine.
    ::SendMessageW(File, LB_SETSEL, TRUE, -1);
}

void frm::cmdConvert_Click()
{
    StopPlaying(); // the song may be about to change under the player
    const int count = static_cast<int>(::SendMessageW(File, LB_GETSELCOUNT, 0, 0));
    std::vector<int> selected(static_cast<std::size_t>(std::max(count, 0)));
    if (count > 0)
        ::SendMessageW(File, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(selected.data()));
    std::sort(selected.begin(), selected.end());
    std::vector<std::string> paths;
    for (const int index : selected)
        paths.push_back(JoinPath(folder_, songs_[static_cast<std::size_t>(index)]));

    // The menu cannot change while the batch runs: the window takes no input until it ends.
    const bool makeBackups = settings_->MakeBackups();
    const Conversion rates = settings_->Choice().Rates();
    RunBatch(window_, ui_, [&](UserInteraction& ui, const std::atomic<bool>& cancel) {
        ConvertFiles(paths, rates, [makeBackups] { return makeBackups; }, ui, {DefaultJobs(), &cancel});
    });
    ShowStatus(); // the current song may have been converted
}

void frm::mnuOptionsMakeBackups_Click()
{
    const bool on = !settings_->MakeBackups();
    ::CheckMenuItem(mnuOptions, kOptionsMakeBackups, on ? MF_CHECKED : MF_UNCHECKED);
    settings_->MakeBackupsChanged(on);
}

void frm::mnuOptionsExactTiming_Click()
{
    const bool on = !settings_->Choice().ExactTiming();
    ::CheckMenuItem(mnuOptions, kOptionsExactTiming, on ? MF_CHECKED : MF_UNCHECKED);
    settings_->ExactTimingChanged(on);
    ShowStatus(); // what the conversion does to the current song's length
}

void frm::mnuHelpAbout_Click()
{
    frmAbout about(window_, ShellOpen);
    about.ShowModal();
}

} // namespace brivane::win32
