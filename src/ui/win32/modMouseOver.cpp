#include "ui/win32/modMouseOver.h"

#include "platform/windows/WideText.h"
#include "ui/shared/MouseOverState.h"

#include <shellapi.h>

namespace brivane::win32 {
namespace {

MouseOverState MouseOver; // module state by design: the capture is the process's

} // namespace

void CaptureMouseOver(HWND control)
{
    ::SetCapture(control);
    MouseOver.Captured();
}

void ReleaseMouseOver()
{
    if (MouseOver.Active())
        ::ReleaseCapture();
}

bool MouseLeftControl(HWND control, int X, int Y)
{
    RECT size{};
    ::GetClientRect(control, &size);
    if (!MouseOver.Leaves(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(size.right),
                          static_cast<float>(size.bottom)))
        return false;
    ::ReleaseCapture();
    return true;
}

void SetCursorToHand()
{
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
}

void ShellOpen(const std::string& text)
{
    ::ShellExecuteW(nullptr, nullptr, Widen(text).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace brivane::win32
