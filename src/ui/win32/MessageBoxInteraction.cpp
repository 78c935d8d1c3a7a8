#include "ui/win32/MessageBoxInteraction.h"

#include "platform/windows/WideText.h"
#include "ui/shared/Captions.h"

#include <algorithm>
#include <commctrl.h>

namespace brivane::win32 {
namespace {

// MessageBoxW centres a box on the screen, away from the window it is about; the box is
// moved over its owner as it is activated. A hook procedure has no context of its own, so
// the owner waits for it in the thread's state for the length of one box.
thread_local HWND centreOver = nullptr;
thread_local HHOOK centring = nullptr;

LRESULT CALLBACK CentreOnActivation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && centring) {
        const HWND box = reinterpret_cast<HWND>(wParam);
        RECT owner{}, own{};
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (::GetWindowRect(centreOver, &owner) && ::GetWindowRect(box, &own) &&
            ::GetMonitorInfoW(::MonitorFromWindow(centreOver, MONITOR_DEFAULTTONEAREST), &monitor)) {
            const RECT& work = monitor.rcWork;
            const LONG width = own.right - own.left, height = own.bottom - own.top;
            const LONG left = std::clamp((owner.left + owner.right - width) / 2, work.left, std::max(work.left, work.right - width));
            const LONG top = std::clamp((owner.top + owner.bottom - height) / 2, work.top, std::max(work.top, work.bottom - height));
            ::SetWindowPos(box, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        ::UnhookWindowsHookEx(centring);
        centring = nullptr;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

int CentredMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT style)
{
    if (owner && ::IsWindowVisible(owner)) {
        centreOver = owner;
        centring = ::SetWindowsHookExW(WH_CBT, CentreOnActivation, nullptr, ::GetCurrentThreadId());
    }
    const int pressed = ::MessageBoxW(owner, text.c_str(), title.c_str(), style);
    if (centring)
        ::UnhookWindowsHookEx(centring);
    centring = nullptr;
    return pressed;
}

// The core breaks its lines with "\n"; Windows' boxes want CR LF.
std::wstring WindowsText(const std::string& text)
{
    std::string lines;
    for (const char c : text)
        lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return win32::Widen(lines);
}

// The message box style of a message: its icon and buttons, and which button Enter presses.
UINT BoxStyle(const UserMessage& message)
{
    const UINT defaultButton = message.DefaultNo ? MB_DEFBUTTON2 : 0;
    switch (message.Style) {
    case MessageStyle::Error: return MB_ICONHAND;
    case MessageStyle::Question: return MB_ICONQUESTION | MB_YESNO | defaultButton;
    case MessageStyle::Information: break;
    }
    return MB_ICONINFORMATION;
}

UserAnswer AnswerOf(int pressed)
{
    return pressed == IDYES ? UserAnswer::Yes : pressed == IDNO ? UserAnswer::No : UserAnswer::Ok;
}

UserReply AskWithCheckBox(HWND owner, const UserMessage& message)
{
    const std::wstring title = win32::Widen(message.Title);
    const std::wstring text = WindowsText(message.Text);
    const std::wstring details = WindowsText(message.Details);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = title.c_str();
    config.pszContent = text.c_str();
    // A width of its own, in dialog units that grow with the screen's dots per inch: left to
    // size itself, the dialog cut a question's last character off.
    config.cxWidth = 260;
    config.pszExpandedInformation = details.empty() ? nullptr : details.c_str();
    const std::wstring applyToRest = win32::Widen(captions::kApplyToRest);
    config.pszVerificationText = applyToRest.c_str();
    const bool question = message.Style == MessageStyle::Question;
    config.dwCommonButtons = question ? TDCBF_YES_BUTTON | TDCBF_NO_BUTTON : TDCBF_OK_BUTTON;
    config.nDefaultButton = !question ? IDOK : message.DefaultNo ? IDNO : IDYES;
    if (question) {
        config.dwFlags |= TDF_USE_HICON_MAIN;
        config.hMainIcon = ::LoadIconW(nullptr, IDI_QUESTION);
    } else {
        config.pszMainIcon = message.Style == MessageStyle::Error ? TD_ERROR_ICON : TD_INFORMATION_ICON;
    }
    int pressed = IDOK;
    BOOL rest = FALSE;
    if (FAILED(::TaskDialogIndirect(&config, &pressed, nullptr, &rest)))
        return {AnswerOf(CentredMessageBox(owner, text, title, BoxStyle(message)))};
    // Esc on a question counts as No, as it does in a message box.
    UserReply reply{question ? (pressed == IDYES ? UserAnswer::Yes : UserAnswer::No) : UserAnswer::Ok};
    reply.ApplyToRest = rest != FALSE;
    return reply;
}

} // namespace

UserReply MessageBoxInteraction::Show(const UserMessage& message)
{
    if (message.OfferApplyToRest)
        return AskWithCheckBox(owner_, message);
    std::string text = message.Text;
    if (!message.Details.empty())
        text += "\n\n" + message.Details;
    return {AnswerOf(CentredMessageBox(owner_, WindowsText(text), win32::Widen(message.Title), BoxStyle(message)))};
}

} // namespace brivane::win32
