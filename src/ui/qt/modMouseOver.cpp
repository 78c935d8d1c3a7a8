#include "ui/qt/modMouseOver.h"

#include "ui/shared/MouseOverState.h"

#include <QWidget>

namespace brivane {
namespace {

MouseOverState g_MouseOver; // process-wide, as the mouse grab is

void ReleaseCapture()
{
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
}

} // namespace

void CaptureMouseOver(QWidget& control)
{
    control.grabMouse();
    g_MouseOver.Captured();
}

void ReleaseMouseOver()
{
    if (g_MouseOver.Active())
        ReleaseCapture();
}

bool MouseLeftControl(QWidget& control, float X, float Y)
{
    if (!g_MouseOver.Leaves(X, Y, static_cast<float>(control.width()), static_cast<float>(control.height())))
        return false;
    ReleaseCapture();
    return true;
}

bool MouseOverActive()
{
    return g_MouseOver.Active();
}

} // namespace brivane
