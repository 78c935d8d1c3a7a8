#include "ui/win32/modMouseOver.h"

#include "ui/shared/MouseOverState.h"


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

} // namespace brivane::win32
