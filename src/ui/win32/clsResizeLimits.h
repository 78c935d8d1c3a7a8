#pragma once

#include "ui/win32/modResizeLimits.h"

#include <windows.h>

namespace brivane::win32 {

// Lets a window declare the smallest and largest size the user may drag it to, by replacing
// its window procedure. Creating the object resets the shared table; destroying it gives every
// hooked window its own procedure back. One object is meant to exist at a time.
class clsResizeLimits {
public:
    clsResizeLimits() { ResetLimits(); }
    ~clsResizeLimits() { RemoveAllLimits(); }
    clsResizeLimits(const clsResizeLimits&) = delete;
    clsResizeLimits& operator=(const clsResizeLimits&) = delete;

    // Values in twips, or in pixels when ValuesArePixels is set, rounded half to even. A
    // maximum of 0 is the screen's size. Never reports an error.
    void AddLimits(HWND frm, double MinX = 0, double MinY = 0, double MaxX = 0, double MaxY = 0,
                   bool ValuesArePixels = false);
    void RemoveFormLimits(HWND frm);
    void RemoveAllLimits();
};

} // namespace brivane::win32
