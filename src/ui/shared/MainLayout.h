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

    void Arrange(float ScaleWidth, float ScaleHeight);
};

} // namespace brivane
