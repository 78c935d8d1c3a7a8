#pragma once

#include <QIcon>

class QPainter;

namespace brivane {

// The icon's drawing at `size` × `size` pixels.
void PaintIcon(QPainter& painter, int size);

// Brivane's icon, a note over a floppy disk, drawn at six sizes.
QIcon ApplicationIcon();

} // namespace brivane
