#pragma once

#include <windows.h>

namespace brivane::win32 {

// A control is told when the mouse moves over it but not when it leaves: on entry it
// captures the mouse, so it also hears the first move outside, where it lets go. One flag
// for every control, since one window at a time can hold the capture.
void CaptureMouseOver(HWND control);
void ReleaseMouseOver();
// True when the mouse, at (X, Y) in the control's client pixels, has just left a control that
// held the capture; the capture is then given up.
bool MouseLeftControl(HWND control, int X, int Y);

} // namespace brivane::win32
