#include "ui/qt/modMouseOver.h"

#include <QWidget>

namespace brivane {
namespace {

bool g_MouseOverActive = false; // process-wide: True from a capture until the mouse leaves

void ReleaseCapture()
{
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
}

} // namespace

void CaptureMouseOver(QWidget& control)
{
    control.grabMouse();
    g_MouseOverActive = true;
}

void ReleaseMouseOver()
{
    if (g_MouseOverActive)
        ReleaseCapture();
}

bool MouseLeftControl(QWidget& control, float X, float Y)
{
    if (!g_MouseOverActive)
        return false;
    const float width = static_cast<float>(control.width());
    const float height = static_cast<float>(control.height());
    const bool inside = X >= 0 && Y >= 0 && X <= width && Y <= height;
    if (inside)
        return false;
    ReleaseCapture();
    g_MouseOverActive = false;
    return true;
}

bool MouseOverActive()
{
    return g_MouseOverActive;
}

} // namespace brivane
