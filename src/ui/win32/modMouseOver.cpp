#include "ui/win32/modMouseOver.h"

#include "platform/windows/WideText.h"

#include <shellapi.h>

namespace brivane::win32 {
namespace {

bool MouseOverActive = false; // module state by design: the capture is the process's

} // namespace

void CaptureMouseOver(HWND control)
{
    ::SetCapture(control);
    MouseOverActive = true;
}

void ReleaseMouseOver()
{
    if (MouseOverActive)
        ::ReleaseCapture();
}

bool MouseLeftControl(HWND control, int X, int Y)
{
    if (!MouseOverActive)
        return false;
    RECT size{};
    ::GetClientRect(control, &size);
    if (X >= 0 && Y >= 0 && X <= size.right && Y <= size.bottom)
        return false; // the edges count as inside
    ::ReleaseCapture();
    MouseOverActive = false;
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
