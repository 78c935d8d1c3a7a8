#include "ui/shared/IconDrawing.h"

#include <cstdio>

namespace brivane {
namespace {

constexpr IconColour kDiskBlue{40, 70, 140};
constexpr IconColour kNoteRed{200, 30, 40};

std::string Colour(const std::optional<IconColour>& colour)
{
    if (!colour)
        return "none";
    char name[8];
    std::snprintf(name, sizeof name, "#%02x%02x%02x", colour->Red, colour->Green, colour->Blue);
    return name;
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

const std::vector<IconShape>& IconDrawing()
{
    static const std::vector<IconShape> shapes{
        // The disk: a dark body with a cut corner, a metal shutter and a label.
        {IconShape::Polygon, {{4, 4}, {52, 4}, {60, 12}, {60, 60}, {4, 60}}, kDiskBlue, IconColour{20, 30, 60}, 2},
        {IconShape::Rectangle, {{16, 4}, {28, 16}}, IconColour{190, 195, 205}, {}, 0},
        {IconShape::Rectangle, {{34, 7}, {6, 10}}, kDiskBlue, {}, 0},
        {IconShape::Rectangle, {{12, 28}, {40, 28}}, IconColour{245, 240, 220}, {}, 0},
        // The note on the label: two heads joined by a beam.
        {IconShape::Ellipse, {{17, 45}, {9, 7}}, kNoteRed, {}, 0},
        {IconShape::Ellipse, {{35, 42}, {9, 7}}, kNoteRed, {}, 0},
        {IconShape::Line, {{25, 48}, {25, 32}}, {}, kNoteRed, 3},
        {IconShape::Line, {{43, 45}, {43, 30}}, {}, kNoteRed, 3},
        {IconShape::Line, {{24, 33}, {44, 30}}, {}, kNoteRed, 5},
    };
    return shapes;
}

std::string IconSvg()
{
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n";
    for (const IconShape& shape : IconDrawing()) {
        const std::string paint = "fill=\"" + Colour(shape.Fill) + "\" stroke=\"" + Colour(shape.Stroke) +
                                  "\" stroke-width=\"" + Number(shape.Width) + "\"";
        const IconPoint a = shape.Points[0];
        const IconPoint b = shape.Points.size() > 1 ? shape.Points[1] : IconPoint{};
        const auto attribute = [](const char* name, double value) { return std::string(name) + "=\"" + Number(value) + "\" "; };
        switch (shape.Kind) {
        case IconShape::Polygon: {
            std::string corners;
            for (const IconPoint& p : shape.Points)
                corners += (corners.empty() ? "" : " ") + Number(p.X) + "," + Number(p.Y);
            svg += "  <polygon points=\"" + corners + "\" " + paint + "/>\n";
            break;
        }
        case IconShape::Rectangle:
            svg += "  <rect " + attribute("x", a.X) + attribute("y", a.Y) + attribute("width", b.X) +
                   attribute("height", b.Y) + paint + "/>\n";
            break;
        case IconShape::Ellipse:
            svg += "  <ellipse " + attribute("cx", a.X + b.X / 2) + attribute("cy", a.Y + b.Y / 2) +
                   attribute("rx", b.X / 2) + attribute("ry", b.Y / 2) + paint + "/>\n";
            break;
        case IconShape::Line:
            svg += "  <line " + attribute("x1", a.X) + attribute("y1", a.Y) + attribute("x2", b.X) +
                   attribute("y2", b.Y) + paint + " stroke-linecap=\"butt\"/>\n";
            break;
        }
    }
    return svg + "</svg>\n";
}

} // namespace brivane
