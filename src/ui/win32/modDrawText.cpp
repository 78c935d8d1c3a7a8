#include "ui/win32/modDrawText.h"

#include "platform/windows/WideText.h"
#include "ui/Twips.h"
#include "ui/win32/Controls.h"

#include <cmath>
#include <vector>

namespace brivane::win32 {

std::string FitPathToLabel(HWND window, HWND label, const std::string& path)
{
    RECT size{};
    ::GetClientRect(label, &size);
    constexpr float kShrink = 0.96f;
    RECT fitting{0, 0, static_cast<LONG>(std::nearbyint(size.right * static_cast<double>(kShrink))),
                 static_cast<LONG>(std::nearbyint(size.bottom * static_cast<double>(kShrink)))};

    // DT_MODIFYSTRING writes the shortened text back, which may take four characters more.
    const std::wstring wide = Widen(path);
    std::vector<wchar_t> fitted(wide.begin(), wide.end());
    fitted.resize(wide.size() + 5, L'\0');
    const HDC context = ::GetDC(window);
    const HGDIOBJ old = ::SelectObject(context, reinterpret_cast<HGDIOBJ>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    ::DrawTextW(context, fitted.data(), static_cast<int>(wide.size()), &fitting,
                DT_CALCRECT | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
    ::SelectObject(context, old);
    ::ReleaseDC(window, context);

    const std::string shown = Narrow(fitted.data());
    SetText(label, shown);
    return shown;
}

} // namespace brivane::win32
