#include "ui/qt/clsResizeLimits.h"

#include "ui/qt/ScaleMode.h"
#include "ui/qt/Controls.h"
#include "ui/qt/modResizeLimits.h"

#include <stdexcept>

namespace brivane {

clsResizeLimits::clsResizeLimits()
{
    ResetLimits();
}

clsResizeLimits::~clsResizeLimits()
{
    RemoveAllLimits();
}

void clsResizeLimits::AddLimits(QWidget* frm, double MinX, double MinY, double MaxX, double MaxY,
                                bool ValuesArePixels)
{
    if (!frm)
        return;
    const QVariant scaleMode = frm->property(kScaleModeProperty);
    // A window without a unit of its own counts in twips, whatever ValuesArePixels says; one
    // in a unit other than twips, in pixels.
    const bool twips = !scaleMode.isValid() || (!ValuesArePixels && scaleMode.toInt() == kScaleModeTwips);
    if (const auto limits = LimitsInPixels(MinX, MinY, MaxX, MaxY, twips ? TwipsPerPixelX(*frm) : 1.0,
                                           twips ? TwipsPerPixelY(*frm) : 1.0))
        SetLimits(frm, *limits);
}

void clsResizeLimits::RemoveFormLimits(QWidget* frm)
{
    if (!frm)
        throw std::invalid_argument("RemoveFormLimits: the object has no window");
    RemoveLimits(frm);
}

void clsResizeLimits::RemoveAllLimits()
{
    brivane::RemoveAllLimits();
}

} // namespace brivane
