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

} // namespace brivane::win32
