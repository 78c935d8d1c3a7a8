#include "ui/qt/modSetCursorToHand.h"

#include <QWidget>

namespace brivane {

void SetCursorToHand()
{
    // A grabbing widget's cursor is the one shown wherever the mouse is.
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->setCursor(Qt::PointingHandCursor);
}

} // namespace brivane
