#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brivane {

// Brivane's icon, a note over a floppy disk, kept as one drawing on a 64 × 64 canvas: both
// windows' icons, the installed PNGs and the installed SVG all come from it.
struct IconColour {
    std::uint8_t Red = 0, Green = 0, Blue = 0;
};

struct IconPoint {
    double X = 0, Y = 0;
};

struct IconShape {
    enum Kind { Polygon, Rectangle, Ellipse, Line } Kind;
    std::vector<IconPoint> Points; // polygon corners; rectangle and ellipse: top-left, size; line: ends
    std::optional<IconColour> Fill;
    std::optional<IconColour> Stroke;
    double Width = 0; // of the stroke, with flat ends
};

const std::vector<IconShape>& IconDrawing();

// The same drawing as an SVG document.
std::string IconSvg();

} // namespace brivane
