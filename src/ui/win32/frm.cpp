#include "ui/win32/frm.h"

#include "platform/ApplicationInfo.h"
#include "ui/win32/BatchRunner.h"
#include "ui/win32/Controls.h"
#include "ui/win32/frmAbout.h"
#include "ui/win32/frmGameMusic.h"
#include "ui/win32/modBrowseForFolder.h"
#include "ui/win32/modDrawText.h"
#include "ui/win32/modOpenFolder.h"

#include <algorithm>
#include <commctrl.h>

namespace brivane::win32 {
namespace {

const wchar_t* const kClassName = L"BrivaneMain";
constexpr int kPageStep = 25;
constexpr UINT kPlaybackStopped = WM_APP + 3;
constexpr UINT_PTR kClockTimer = 1;

} // namespace

frm::frm(HINSTANCE instance, const std::string& settingsFile, const std::string& defaultFolder, UserInteraction& boxes)
    : boxes_(boxes), hasOutputDevice_(SongPlayer::HasOutputDevice())
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
    objResizeLimits = std::make_unique<clsResizeLimits>();
    font_ = CreateMessageFont(window_);
    player_ = std::make_unique<SongPlayer>(window_, kPlaybackStopped);
    MainWindowView& view = *this;
    controller_ = std::make_unique<MainWindowController>(view, boxes, *player_, hasOutputDevice_);
    CreateControls();
    ::SetMenu(window_, CreateMenu({{}, {}, 0, {}, false, MainMenus()}, true));
    controller_->Start(settingsFile, defaultFolder);

    // The design's client area, with the menu and the status bar on top of it.
    const float tpp = TwipsPerPixel(window_);
    RECT status{};
    ::GetWindowRect(statusBar_, &status);
    const int statusHeight = status.bottom - status.top;
    RECT frame{0, 0, TwipsToPixels(MainLayout::kDesignWidth, tpp),
               TwipsToPixels(MainLayout::kDesignHeight, tpp) + statusHeight};
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CONTROLPARENT);
    RECT smallest{0, 0, TwipsToPixels(MainLayout::kMinWidth, tpp), TwipsToPixels(MainLayout::kMinHeight, tpp) + statusHeight};
    ::AdjustWindowRectEx(&smallest, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CONTROLPARENT);
    objResizeLimits->AddLimits(window_, smallest.right - smallest.left, smallest.bottom - smallest.top, 0, 0, true);
    ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER);
    ::SetTimer(window_, kClockTimer, 250, nullptr);
    ::SetFocus(cmdBrowse);
}

frm::~frm()
{
    controller_.reset();
    player_.reset();
    // Hooked windows get their own procedures back; the settings went with the controller,
    // without saving, since every setting was saved when it changed.
    objResizeLimits.reset();
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
    cmdSelectAll = CreateChild(window_, L"BUTTON", captions::kSelectAll, WS_TABSTOP, kSelectAll, font_);
    lbl = CreateChild(window_, L"STATIC", captions::kOriginalTics, SS_LEFT, 0, font_);
    lblTics = CreateChild(window_, L"STATIC", std::to_string(MainWindowController::kDesignTics), SS_CENTER, kTicsValue, font_);
    hsbTics = CreateChild(window_, L"SCROLLBAR", "", WS_TABSTOP | SBS_HORZ, kTics, font_);
    SCROLLINFO range{};
    range.cbSize = sizeof range;
    range.fMask = SIF_RANGE | SIF_POS;
    range.nMin = kMinOriginalTics;
    range.nMax = kMaxOriginalTics;
    range.nPos = MainWindowController::kDesignTics;
    ::SetScrollInfo(hsbTics, SB_CTL, &range, FALSE);
    cmdConvert = CreateChild(window_, L"BUTTON", "", WS_TABSTOP | BS_DEFPUSHBUTTON, kConvert, font_);
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

// The menus of MainMenus(), each item's ID its command; a shortcut is shown after a tab.
HMENU frm::CreateMenu(const MenuEntry& menu, bool bar)
{
    const HMENU created = bar ? ::CreateMenu() : ::CreatePopupMenu();
    for (const MenuEntry& item : menu.Items) {
        const std::string caption = item.Shortcut.empty() ? item.Caption : item.Caption + "\t" + item.Shortcut;
        if (!item.Items.empty()) {
            ::AppendMenuW(created, MF_POPUP, reinterpret_cast<UINT_PTR>(CreateMenu(item, false)), Widen(caption).c_str());
            continue;
        }
        ::AppendMenuW(created, MF_STRING, static_cast<UINT_PTR>(item.Command), Widen(caption).c_str());
        commands_.push_back({created, item.Command});
    }
    return created;
}

void frm::ShowSongs(const std::vector<std::string>& names)
{
    ::SendMessageW(File, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : names)
        ::SendMessageW(File, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
}

void frm::ShowTics(int tics)
{
    ::SetScrollPos(hsbTics, SB_CTL, tics, TRUE);
    SetText(lblTics, std::to_string(tics));
}

void frm::ShowMenus(const MenuStates& menus)
{
    for (const auto& [menu, command] : commands_) {
        ::CheckMenuItem(menu, static_cast<UINT>(command), menus.Checked(command) ? MF_CHECKED : MF_UNCHECKED);
        ::EnableMenuItem(menu, static_cast<UINT>(command), menus.Enabled(command) ? MF_ENABLED : MF_GRAYED);
    }
}

// The status bar cuts a long text off mid-word; an ellipsis shows that there is more, and the
// tooltip holds it all.
void frm::ShowStatusText()
{
    RECT part{};
    ::SendMessageW(statusBar_, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
    const std::wstring shown = FitTextWithEllipsis(statusBar_, Widen(statusText_.Shown), part.right - part.left - 8);
    ::SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    SetTip(statusBar_, Widen(statusText_.Whole));
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
        ::SendMessageW(statusBar_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(Widen(captions::kNoOutputDevice).c_str()));
}

std::vector<std::size_t> frm::SelectedSongs() const
{
    const int count = static_cast<int>(::SendMessageW(File, LB_GETSELCOUNT, 0, 0));
    std::vector<int> selected(static_cast<std::size_t>(std::max(count, 0)));
    if (count > 0)
        ::SendMessageW(File, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(selected.data()));
    return {selected.begin(), selected.end()};
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
    layout_.MakeRoomForCaption(PixelsToTwips(TextWidth(lbl, TextOf(lbl)), tpp), PixelsToTwips(TextWidth(lbl, " "), tpp),
                               tpp);
    PlaceInTwips(cmdBrowse, layout_.cmdBrowse, tpp);
    PlaceInTwips(lblFolder, layout_.lblFolder, tpp);
    PlaceInTwips(cmdConvert, layout_.cmdConvert, tpp);
    PlaceInTwips(lbl, layout_.lbl, tpp);
    PlaceInTwips(lblTics, layout_.lblTics, tpp);
    PlaceInTwips(hsbTics, layout_.hsbTics, tpp);
    PlaceInTwips(cmdSelectAll, layout_.cmdSelectAll, tpp);
    PlaceInTwips(File, layout_.File, tpp);

    const std::string shown = FitPathToLabel(lblFolder, folder_);
    SetTip(lblFolder, shown == folder_ ? std::wstring() : Widen(folder_));
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
            controller_->PlayClicked();
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
        controller_->PlaybackEnded();
        return 0;
    case WM_TIMER:
        if (wParam == kClockTimer)
            controller_->ClockTicked();
        return 0;
    case WM_CLOSE: // the user closes the window, and with it the program
        controller_->Closing();
        ::DestroyWindow(window_);
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void frm::OnCommand(int id, int notification)
{
    switch (id) {
    case kBrowse: controller_->BrowseClicked(); break;
    case kSelectAll: controller_->SelectAllClicked(); break;
    case kConvert:
    case IDOK: controller_->ConvertClicked(); break;
    case kFile:
        if (notification == LBN_DBLCLK) {
            controller_->PlayClicked();
        } else if (notification == LBN_SELCHANGE) {
            const auto caret = ::SendMessageW(File, LB_GETCARETINDEX, 0, 0);
            controller_->CurrentSongChanged(caret < 0 ? std::nullopt : std::optional<std::size_t>(caret));
        }
        break;
    case IDCANCEL: controller_->MenuChosen(kPlayStop); break; // Esc
    default: controller_->MenuChosen(id); break;
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
    controller_->TicsMoved(value);
}

void frm::ShowGameMusic(const std::string& folder, const Conversion& rates)
{
    frmGameMusic dialog(window_, folder, rates);
    dialog.ShowModal();
}

void frm::ShowAbout()
{
    frmAbout about(window_, ShellOpen);
    about.ShowModal();
}

} // namespace brivane::win32
