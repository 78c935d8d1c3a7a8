#include "ui/win32/clsResizeLimits.h"

#include "ui/win32/Controls.h"
#include "ui/win32/modResizeLimits.h"

namespace brivane::win32 {

void clsResizeLimits::AddLimits(HWND frm, double MinX, double MinY, double MaxX, double MaxY, bool ValuesArePixels)
{
    if (!::IsWindow(frm))
        return;
    const double perPixel = ValuesArePixels ? 1.0 : TwipsPerPixel(frm);
    if (const auto limits = LimitsInPixels(MinX, MinY, MaxX, MaxY, perPixel, perPixel))
        SetLimits(frm, *limits);
}

void clsResizeLimits::RemoveFormLimits(HWND frm)
{
    RemoveLimits(frm);
}

void clsResizeLimits::RemoveAllLimits()
{
    brivane::win32::RemoveAllLimits();
}

} // namespace brivane::win32
