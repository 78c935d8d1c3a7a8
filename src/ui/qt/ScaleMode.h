#pragma once

#include <QWidget>

namespace brivane {

// A window's unit of measure, kept as a property on it: designed windows measure in twips.
// A widget without the property has no scale mode.
inline constexpr const char* kScaleModeProperty = "ScaleMode";
inline constexpr int kScaleModeTwips = 1;
inline constexpr int kScaleModePixels = 3;

inline void MarkScaleModeTwips(QWidget& window)
{
    window.setProperty(kScaleModeProperty, kScaleModeTwips);
}

} // namespace brivane
