#include "ui/qt/clsResizeLimits.h"

#include "ui/qt/ScaleMode.h"
#include "ui/qt/Controls.h"
#include "ui/qt/modResizeLimits.h"

#include <cmath>
#include <optional>
#include <stdexcept>

namespace brivane {
namespace {

// The window's own conversion to pixels; nothing for a unit it does not know.
std::optional<double> ToPixels(double value, int scaleMode, float twipsPerPixel)
{
    if (scaleMode == kScaleModeTwips)
        return value / twipsPerPixel;
    if (scaleMode == kScaleModePixels)
        return value;
    return std::nullopt;
}

} // namespace

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
    const float tx = TwipsPerPixelX(*frm);
    const float ty = TwipsPerPixelY(*frm);
    const QVariant scaleMode = frm->property(kScaleModeProperty);
    if (!scaleMode.isValid()) {
        // No unit of its own: the values are twips, whatever ValuesArePixels says.
        MinX /= tx;
        MaxX /= tx;
        MinY /= ty;
        MaxY /= ty;
    } else if (!ValuesArePixels) {
        const int mode = scaleMode.toInt();
        MinX = ToPixels(MinX, mode, tx).value_or(MinX);
        MaxX = ToPixels(MaxX, mode, tx).value_or(MaxX);
        MinY = ToPixels(MinY, mode, ty).value_or(MinY);
        MaxY = ToPixels(MaxY, mode, ty).value_or(MaxY);
    }
    const auto minX = PixelLimit(MinX), minY = PixelLimit(MinY), maxX = PixelLimit(MaxX), maxY = PixelLimit(MaxY);
    if (minX && minY && maxX && maxY)
        SetLimits(frm, {*minX, *minY, *maxX, *maxY});
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
