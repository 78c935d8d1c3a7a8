#include "ui/shared/MainLayout.h"

#include <algorithm>
#include <cmath>

namespace brivane {
namespace {

constexpr float kMargin = 120;
// The scroll bar row's design distance above the Convert button (4920 - 4560).
constexpr float kRowAboveConvert = 360;

// The window system takes no negative sizes; a window narrower than the layout gets zero.
float Size(float value) { return std::max(value, 0.0f); }

} // namespace

void MainLayout::Arrange(float ScaleWidth, float ScaleHeight)
{
    // The steps read positions that earlier steps have just set, so their order matters.
    cmdBrowse.Left = ScaleWidth - cmdBrowse.Width - kMargin;
    lblFolder.Width = Size(cmdBrowse.Left - kMargin);
    cmdConvert = {kMargin, ScaleHeight - cmdConvert.Height - kMargin, Size(ScaleWidth - 2 * kMargin),
                  cmdConvert.Height};

    // The row moves with the bottom edge: a taller window gives the list the room, and a
    // shorter one never puts Convert over the row.
    hsbTics.Top = cmdConvert.Top - kRowAboveConvert;
    lbl.Top = hsbTics.Top;
    lblTics.Top = hsbTics.Top;

    hsbTics.Width = Size(ScaleWidth - hsbTics.Left - kMargin);
    cmdSelectAll = {kMargin, hsbTics.Top - cmdSelectAll.Height - kMargin, cmdConvert.Width, cmdSelectAll.Height};
    File = {File.Left, File.Top, cmdConvert.Width, Size(cmdSelectAll.Top - File.Top - kMargin)};
}

void MainLayout::MakeRoomForCaption(float captionWidth, float spaceWidth, float twipsPerPixel)
{
    lbl.Width = std::max(lbl.Width, captionWidth);
    const float needed = lbl.Left + lbl.Width + spaceWidth - lblTics.Left;
    if (needed <= 0)
        return;
    const float shift = std::ceil(needed / twipsPerPixel) * twipsPerPixel;
    lblTics.Left += shift;
    hsbTics.Left += shift;
    hsbTics.Width = Size(hsbTics.Width - shift);
}

} // namespace brivane
