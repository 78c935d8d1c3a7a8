#include "ui/win32/modDrawText.h"

#include "platform/windows/WideText.h"
#include "ui/shared/Twips.h"
#include "ui/win32/Controls.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace brivane::win32 {

namespace {

// DrawTextW's shortening of `text` into `room`, in the control's font. DT_MODIFYSTRING writes
// the shortened text back, which may take four characters more.
std::wstring Shortened(HWND window, HWND control, const std::wstring& text, RECT room, UINT flags)
{
    std::vector<wchar_t> fitted(text.begin(), text.end());
    fitted.resize(text.size() + 5, L'\0');
    const HDC context = ::GetDC(window);
    const HGDIOBJ old = ::SelectObject(context, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    ::DrawTextW(context, fitted.data(), static_cast<int>(text.size()), &room, DT_CALCRECT | DT_MODIFYSTRING | flags);
    ::SelectObject(context, old);
    ::ReleaseDC(window, context);
    return fitted.data();
}

} // namespace

std::string FitPathToLabel(HWND window, HWND label, const std::string& path)
{
    RECT size{};
    ::GetClientRect(label, &size);
    constexpr float kShrink = 0.96f;
    const RECT fitting{0, 0, static_cast<LONG>(std::nearbyint(size.right * static_cast<double>(kShrink))),
                       static_cast<LONG>(std::nearbyint(size.bottom * static_cast<double>(kShrink)))};
    const std::string shown = Narrow(Shortened(window, label, Widen(path), fitting, DT_PATH_ELLIPSIS));
    SetText(label, shown);
    return shown;
}

std::wstring FitTextWithEllipsis(HWND control, const std::wstring& text, int width)
{
    return Shortened(control, control, text, {0, 0, std::max(width, 0), 1000}, DT_END_ELLIPSIS | DT_SINGLELINE);
}

} // namespace brivane::win32
