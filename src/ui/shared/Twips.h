#pragma once

#include <cmath>

namespace brivane {

// Positions and sizes are designed in twips (1/1440 inch); the window system wants pixels.
inline constexpr float kTwipsPerInch = 1440.0f;

// Rounded to the nearest pixel, an exact half to the even neighbour.
inline int TwipsToPixels(float twips, float twipsPerPixel)
{
    return static_cast<int>(std::nearbyint(static_cast<double>(twips) / twipsPerPixel));
}

inline float PixelsToTwips(int pixels, float twipsPerPixel)
{
    return static_cast<float>(pixels) * twipsPerPixel;
}

// A control's place in twips, held in single precision as the design gives it.
struct TwipRect {
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
    bool operator==(const TwipRect&) const = default;
};

} // namespace brivane
