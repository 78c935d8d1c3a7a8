#include "ui/win32/Controls.h"

#include <vector>

namespace brivane::win32 {

HWND CreateChild(HWND parent, const wchar_t* type, const std::string& text, DWORD style, int id, HFONT font,
                 DWORD extendedStyle)
{
    const HWND control = ::CreateWindowExW(extendedStyle, type, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                                           0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                           reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
                                           nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

std::string TextOf(HWND control)
{
    std::vector<wchar_t> text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1);
    ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    return Narrow(text.data());
}

void SetText(HWND control, const std::string& text)
{
    ::SetWindowTextW(control, Widen(text).c_str());
}

float TwipsPerPixel(HWND window)
{
    // Windows 10 and later tell each window its own monitor's DPI; earlier ones, the system's.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    int dpi = dpiForWindow && window ? static_cast<int>(dpiForWindow(window)) : 0;
    if (dpi <= 0) {
        const HDC screen = ::GetDC(window);
        dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
        ::ReleaseDC(window, screen);
    }
    return kTwipsPerInch / static_cast<float>(dpi > 0 ? dpi : 96);
}

void PlaceInTwips(HWND control, const TwipRect& rect, float twipsPerPixel)
{
    ::MoveWindow(control, TwipsToPixels(rect.Left, twipsPerPixel), TwipsToPixels(rect.Top, twipsPerPixel),
                 TwipsToPixels(rect.Width, twipsPerPixel), TwipsToPixels(rect.Height, twipsPerPixel), TRUE);
}

int TextWidth(HWND control, const std::string& text)
{
    const std::wstring wide = Widen(text);
    const HDC context = ::GetDC(control);
    const HGDIOBJ old = ::SelectObject(context, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(context, wide.c_str(), static_cast<int>(wide.size()), &size);
    ::SelectObject(context, old);
    ::ReleaseDC(control, context);
    return size.cx;
}

void WidenToFitText(HWND control)
{
    const SIZE needed{TextWidth(control, TextOf(control)), 0};
    RECT place{};
    ::GetWindowRect(control, &place);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    const int margin = 8; // an edit control's own left and right margins, and a little air
    if (needed.cx + margin > place.right - place.left)
        ::MoveWindow(control, place.left, place.top, needed.cx + margin, place.bottom - place.top, TRUE);
}

HFONT CreateMessageFont(HWND window)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    // The metrics are at 96 dots per inch; the window may be on a denser screen.
    const float scale = 1440.0f / 96.0f / TwipsPerPixel(window);
    metrics.lfMessageFont.lfHeight = static_cast<LONG>(metrics.lfMessageFont.lfHeight * scale);
    return ::CreateFontIndirectW(&metrics.lfMessageFont);
}

namespace {

// An empty dialog: every control is made at load, placed in twips.
struct Template {
    DLGTEMPLATE Dialog{DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, 0, 0, 0, 0, 0};
    WORD Menu = 0, Class = 0, Title = 0, PointSize = 8;
    wchar_t Font[14] = L"MS Shell Dlg";
};
alignas(DWORD) const Template kTemplate;

HINSTANCE InstanceOf(HWND window)
{
    return reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

} // namespace

void RunEmptyDialog(HWND owner, DLGPROC procedure, LPARAM self)
{
    ::DialogBoxIndirectParamW(InstanceOf(owner), &kTemplate.Dialog, owner, procedure, self);
}

HWND CreateEmptyDialog(HWND owner, DLGPROC procedure, LPARAM self)
{
    return ::CreateDialogIndirectParamW(InstanceOf(owner), &kTemplate.Dialog, owner, procedure, self);
}

void SizeAndCentre(HWND dialog, HWND owner, float clientWidthTwips, float clientHeightTwips)
{
    const float tpp = TwipsPerPixel(dialog);
    RECT frame{0, 0, TwipsToPixels(clientWidthTwips, tpp), TwipsToPixels(clientHeightTwips, tpp)};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongW(dialog, GWL_EXSTYLE)));
    RECT ownerRect{};
    ::GetWindowRect(owner, &ownerRect);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    ::SetWindowPos(dialog, nullptr, (ownerRect.left + ownerRect.right - width) / 2,
                   (ownerRect.top + ownerRect.bottom - height) / 2, width, height, SWP_NOZORDER);
    ::SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(IconOf(owner)));
}

HICON IconOf(HWND window)
{
    auto icon = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    if (!icon) // the main window's icon is its class's
        icon = reinterpret_cast<HICON>(::GetClassLongPtrW(window, GCLP_HICON));
    return icon;
}

} // namespace brivane::win32
