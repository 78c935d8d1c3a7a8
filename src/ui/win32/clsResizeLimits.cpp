#include "ui/win32/clsResizeLimits.h"

#include "ui/win32/Controls.h"
#include "ui/win32/modResizeLimits.h"

#include <cmath>

namespace brivane::win32 {

clsResizeLimits::clsResizeLimits()
{
    ResetLimits();
}

clsResizeLimits::~clsResizeLimits()
{
    RemoveAllLimits();
}

void clsResizeLimits::AddLimits(HWND frm, double MinX, double MinY, double MaxX, double MaxY, bool ValuesArePixels)
{
    if (!::IsWindow(frm))
        return;
    const double perPixel = ValuesArePixels ? 1.0 : TwipsPerPixel(frm);
    auto pixels = [perPixel](double value) { return static_cast<int>(std::nearbyint(value / perPixel)); };
    SetLimits(frm, pixels(MinX), pixels(MinY), pixels(MaxX), pixels(MaxY));
}

void clsResizeLimits::RemoveFormLimits(HWND frm)
{
    RemoveLimits(frm);
}

void clsResizeLimits::RemoveAllLimits()
{
    RemoveAllWindowLimits();
}

} // namespace brivane::win32
