#pragma once

#include "ui/shared/Twips.h"

namespace brivane {

// The main window's controls in twips. Arrange() is the resize layout: the "..." button
// keeps to the right edge, Convert to the bottom edge, and the full-width controls stretch.
struct MainLayout {
    TwipRect lblFolder{120, 120, 3975, 315};
    TwipRect cmdBrowse{4080, 120, 315, 315};
    TwipRect File{120, 480, 4335, 3600};
    TwipRect cmdSelectAll{120, 4080, 4335, 315};
    TwipRect lbl{120, 4560, 975, 345};
    TwipRect lblTics{1080, 4560, 495, 255};
    TwipRect hsbTics{1560, 4560, 2895, 255};
    TwipRect cmdConvert{120, 4920, 4335, 315};

    static constexpr float kDesignWidth = 5760;
    static constexpr float kDesignHeight = 5355;
    // The smallest client area the layout fits: 1680 twips wide keeps the scroll bar's width
    // (ScaleWidth - 1560 - 120) at 0 or more, and every wider control with it; 1830 twips high
    // keeps the list's height at 0 or more (480 + 120 above Select All, 315 + 120 to the row,
    // 360 from the row to Convert, 315 + 120 below it). Menu and status bars come on top.
    static constexpr float kMinWidth = 1680;
    static constexpr float kMinHeight = 1830;

    void Arrange(float ScaleWidth, float ScaleHeight);
    // A platform's fonts may run "Original Tics:" wider than its design width: the caption
    // gets its text's width, and the value and the bar move right by what that needs, in whole
    // pixels, the bar's right edge staying put.
    void MakeRoomForCaption(float captionWidth, float spaceWidth, float twipsPerPixel);
};

} // namespace brivane
