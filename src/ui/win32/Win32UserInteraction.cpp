#include "ui/win32/Win32UserInteraction.h"

#include "platform/windows/WideText.h"

#include <commctrl.h>

namespace brivane {
namespace {

UserReply AskWithCheckBox(HWND owner, const UserMessage& message)
{
    const std::wstring title = win32::Widen(message.Title);
    const std::wstring text = win32::Widen(message.Text);
    const std::wstring details = win32::Widen(message.Details);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = title.c_str();
    config.pszContent = text.c_str();
    config.pszExpandedInformation = details.empty() ? nullptr : details.c_str();
    config.pszVerificationText = L"Do this for the remaining files";
    const bool question = message.Style == MB_ICONQUESTION_YESNO;
    config.dwCommonButtons = question ? TDCBF_YES_BUTTON | TDCBF_NO_BUTTON : TDCBF_OK_BUTTON;
    config.nDefaultButton = question ? IDYES : IDOK;
    if (question) {
        config.dwFlags |= TDF_USE_HICON_MAIN;
        config.hMainIcon = ::LoadIconW(nullptr, IDI_QUESTION);
    } else {
        config.pszMainIcon = message.Style == MB_ICONHAND ? TD_ERROR_ICON : TD_INFORMATION_ICON;
    }
    int pressed = IDOK;
    BOOL rest = FALSE;
    if (FAILED(::TaskDialogIndirect(&config, &pressed, nullptr, &rest)))
        return {::MessageBoxW(owner, text.c_str(), title.c_str(), static_cast<UINT>(message.Style))};
    // Esc on a question counts as No, as it does in a message box.
    UserReply reply{question ? (pressed == IDYES ? IDYES : IDNO) : IDOK};
    reply.ApplyToRest = rest != FALSE;
    return reply;
}

} // namespace

UserReply Win32UserInteraction::Show(const UserMessage& message)
{
    if (message.OfferApplyToRest)
        return AskWithCheckBox(owner_, message);
    std::string text = message.Text;
    if (!message.Details.empty())
        text += "\r\n\r\n" + message.Details;
    const int pressed = ::MessageBoxW(owner_, win32::Widen(text).c_str(), win32::Widen(message.Title).c_str(),
                                      static_cast<UINT>(message.Style));
    return {pressed == IDYES ? IDYES : pressed == IDNO ? IDNO : IDOK};
}

} // namespace brivane
