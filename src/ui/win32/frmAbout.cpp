#include "ui/win32/frmAbout.h"

#include "ui/shared/AboutBox.h"
#include "ui/win32/Controls.h"
#include "ui/win32/modMouseOver.h"
#include "ui/win32/modSetCursorToHand.h"

#include <algorithm>
#include <commctrl.h>

namespace brivane::win32 {

using namespace about;

namespace {

HFONT Derived(HFONT from, LONG weight, BOOL underline)
{
    LOGFONTW font{};
    ::GetObjectW(from, sizeof font, &font);
    font.lfWeight = weight;
    font.lfUnderline = static_cast<BYTE>(underline);
    return ::CreateFontIndirectW(&font);
}

} // namespace

frmAbout::frmAbout(HWND owner, std::function<void(const std::string&)> open) : owner_(owner), open_(std::move(open)) {}

void frmAbout::ShowModal()
{
    RunEmptyDialog(owner_, Procedure, reinterpret_cast<LPARAM>(this));
    ::DeleteObject(font_);
    ::DeleteObject(titleFont_);
    ::DeleteObject(linkFont_);
}

void frmAbout::Load(HWND dialog)
{
    ReleaseMouseOver();
    SizeAndCentre(dialog, owner_, kClientWidth, kClientHeight);
    const float tpp = TwipsPerPixel(dialog);

    font_ = CreateMessageFont(dialog);
    titleFont_ = Derived(font_, FW_BOLD, FALSE);
    linkFont_ = Derived(font_, FW_NORMAL, TRUE);
    SetText(dialog, Caption());

    // First in the tab order: the box opens with OK focused, the default and the cancel button.
    cmdOK = CreateChild(dialog, L"BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, font_);
    PlaceInTwips(cmdOK, kOkPlace, tpp);
    const HWND imgIcon = CreateChild(dialog, L"STATIC", "", SS_ICON | SS_REALSIZECONTROL, 0, font_);
    ::SendMessageW(imgIcon, STM_SETICON, reinterpret_cast<WPARAM>(IconOf(owner_)), 0);
    PlaceInTwips(imgIcon, kIconPlace, tpp);
    for (const AboutLabel& label : AboutLabels()) {
        const HWND control = CreateChild(dialog, L"STATIC", label.Text, SS_LEFT | SS_NOPREFIX, 0,
                                         label.IsTitle ? titleFont_ : font_);
        PlaceInTwips(control, label.Place, tpp);
        if (label.OneLine)
            WidenToFitText(control);
    }
    const HWND etched = CreateChild(dialog, L"STATIC", "", SS_ETCHEDHORZ, 0, font_);
    PlaceInTwips(etched, kLinePlace, tpp);
    for (std::size_t i = 0; i < std::size(kAboutLinks); ++i) {
        links_[i] = CreateChild(dialog, L"EDIT", kAboutLinks[i].Text, ES_READONLY | ES_AUTOHSCROLL, 0, linkFont_);
        PlaceInTwips(links_[i], kAboutLinks[i].Place, tpp);
        WidenToFitText(links_[i]);
        ::SetWindowSubclass(links_[i], LinkProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    ::SetFocus(cmdOK);
}

INT_PTR CALLBACK frmAbout::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = DialogObject<frmAbout>(dialog, message, lParam);
    if (!self)
        return FALSE; // at WM_INITDIALOG: the focus is set
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, IDOK);
            return TRUE;
        }
        break;
    case WM_CTLCOLORSTATIC: // read-only fields ask here: blue on the dialog's own colour
        if (self->LinkIndex(reinterpret_cast<HWND>(lParam)) >= 0) {
            const HDC context = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(context, RGB(0, 0, 255));
            ::SetBkColor(context, ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    }
    return FALSE;
}

LRESULT CALLBACK frmAbout::LinkProcedure(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data)
{
    auto* self = reinterpret_cast<frmAbout*>(data);
    switch (message) {
    case WM_MOUSEMOVE:
        if (MouseLeftControl(link, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)))) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        } else {
            CaptureMouseOver(link);
            SetCursorToHand();
        }
        return 0;
    case WM_SETCURSOR:
        SetCursorToHand();
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        ::SetFocus(self->cmdOK); // the fields never keep the focus
        self->open_(LinkTarget(TextOf(link), kAboutLinks[self->LinkIndex(link)].IsEmail));
        return 0;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(link, LinkProcedure, 1);
        break;
    }
    return ::DefSubclassProc(link, message, wParam, lParam);
}

int frmAbout::LinkIndex(HWND control) const
{
    const auto link = std::find(std::begin(links_), std::end(links_), control);
    return link == std::end(links_) ? -1 : static_cast<int>(link - std::begin(links_));
}

} // namespace brivane::win32
