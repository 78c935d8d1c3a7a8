#include "ui/win32/modDrawText.h"

#include "platform/windows/WideText.h"
#include "ui/shared/TextFitting.h"
#include "ui/win32/Controls.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace brivane::win32 {

std::string FitPathToLabel(HWND label, const std::string& path)
{
    RECT size{};
    ::GetClientRect(label, &size);
    constexpr float kShrink = 0.96f;
    const auto room = static_cast<int>(std::nearbyint(size.right * static_cast<double>(kShrink)));
    const std::string shown = ElidePath(path, [&](const std::string& text) { return TextWidth(label, text) <= room; });
    SetText(label, shown);
    return shown;
}

// DrawTextW shortens the text in the control's font; DT_MODIFYSTRING writes it back, which
// may take four characters more.
std::wstring FitTextWithEllipsis(HWND control, const std::wstring& text, int width)
{
    std::vector<wchar_t> fitted(text.begin(), text.end());
    fitted.resize(text.size() + 5, L'\0');
    RECT room{0, 0, std::max(width, 0), 1000};
    const HDC context = ::GetDC(control);
    const HGDIOBJ old = ::SelectObject(context, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    ::DrawTextW(context, fitted.data(), static_cast<int>(text.size()), &room,
                DT_CALCRECT | DT_MODIFYSTRING | DT_END_ELLIPSIS | DT_SINGLELINE);
    ::SelectObject(context, old);
    ::ReleaseDC(control, context);
    return fitted.data();
}

} // namespace brivane::win32
