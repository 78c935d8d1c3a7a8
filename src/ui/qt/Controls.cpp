#include "ui/qt/Controls.h"

#include <QWidget>

namespace brivane {

float TwipsPerPixelX(const QWidget& widget)
{
    return kTwipsPerInch / static_cast<float>(widget.logicalDpiX());
}

float TwipsPerPixelY(const QWidget& widget)
{
    return kTwipsPerInch / static_cast<float>(widget.logicalDpiY());
}

void PlaceInTwips(QWidget& widget, const TwipRect& rect, float twipsPerPixelX, float twipsPerPixelY)
{
    widget.setGeometry(TwipsToPixels(rect.Left, twipsPerPixelX), TwipsToPixels(rect.Top, twipsPerPixelY),
                       TwipsToPixels(rect.Width, twipsPerPixelX), TwipsToPixels(rect.Height, twipsPerPixelY));
}

void WidenToFitText(QWidget& widget, int textWidth)
{
    if (textWidth > widget.width())
        widget.resize(textWidth, widget.height());
}

void UseDesignFont(QWidget& window)
{
    QFont font = window.font();
    font.setPointSizeF(8);
    window.setFont(font);
}

} // namespace brivane
