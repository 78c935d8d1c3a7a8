#pragma once

#include "ui/shared/Twips.h"

class QWidget;

namespace brivane {

// Twips per pixel of the screen the widget is on: 15 at 96 dots per inch.
float TwipsPerPixelX(const QWidget& widget);
float TwipsPerPixelY(const QWidget& widget);

// Places a widget at a twip rectangle of its parent.
void PlaceInTwips(QWidget& widget, const TwipRect& rect, float twipsPerPixelX, float twipsPerPixelY);

// This platform's fonts run wider than the ones the design was measured in: a caption is
// widened to its text where the design would clip it, never narrowed.
void WidenToFitText(QWidget& widget, int textWidth);

// The windows' twips were drawn for the classic 8-point dialog font; the platform's larger
// default would clip captions such as "Original Tics:". Both windows use this size.
void UseDesignFont(QWidget& window);

} // namespace brivane
