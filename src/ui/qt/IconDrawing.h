#pragma once

#include <QString>

class QPainter;

namespace brivane {

// Brivane's icon, a note over a floppy disk, kept as one drawing on a 64 × 64 canvas: the
// window's icon, the installed PNGs and the installed SVG all come from it.
void PaintIcon(QPainter& painter, int size);

// The same drawing as an SVG document.
QString IconSvg();

} // namespace brivane
