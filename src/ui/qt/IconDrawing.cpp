#include "ui/qt/IconDrawing.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <vector>

namespace brivane {
namespace {

struct Shape {
    enum Kind { Polygon, Rectangle, Ellipse, Line } kind;
    std::vector<QPointF> points; // polygon corners; rectangle and ellipse: top-left, size; line: ends
    QColor fill;                 // invalid: not filled
    QColor stroke;               // invalid: no outline
    qreal width = 0;
};

const QColor kDiskBlue(40, 70, 140);
const QColor kNoteRed(200, 30, 40);

const std::vector<Shape>& Drawing()
{
    static const std::vector<Shape> shapes{
        // The disk: a dark body with a cut corner, a metal shutter and a label.
        {Shape::Polygon, {{4, 4}, {52, 4}, {60, 12}, {60, 60}, {4, 60}}, kDiskBlue, QColor(20, 30, 60), 2},
        {Shape::Rectangle, {{16, 4}, {28, 16}}, QColor(190, 195, 205), {}, 0},
        {Shape::Rectangle, {{34, 7}, {6, 10}}, kDiskBlue, {}, 0},
        {Shape::Rectangle, {{12, 28}, {40, 28}}, QColor(245, 240, 220), {}, 0},
        // The note on the label: two heads joined by a beam.
        {Shape::Ellipse, {{17, 45}, {9, 7}}, kNoteRed, {}, 0},
        {Shape::Ellipse, {{35, 42}, {9, 7}}, kNoteRed, {}, 0},
        {Shape::Line, {{25, 48}, {25, 32}}, {}, kNoteRed, 3},
        {Shape::Line, {{43, 45}, {43, 30}}, {}, kNoteRed, 3},
        {Shape::Line, {{24, 33}, {44, 30}}, {}, kNoteRed, 5},
    };
    return shapes;
}

QString Colour(const QColor& colour)
{
    return colour.isValid() ? colour.name() : QStringLiteral("none");
}

} // namespace

void PaintIcon(QPainter& painter, int size)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    for (const Shape& shape : Drawing()) {
        painter.setPen(shape.stroke.isValid() ? QPen(shape.stroke, shape.width, Qt::SolidLine, Qt::FlatCap)
                                              : QPen(Qt::NoPen));
        painter.setBrush(shape.fill.isValid() ? QBrush(shape.fill) : QBrush(Qt::NoBrush));
        const QRectF box(shape.points[0], shape.points.size() > 1 ? QSizeF(shape.points[1].x(), shape.points[1].y()) : QSizeF());
        switch (shape.kind) {
        case Shape::Polygon:
            painter.drawPolygon(QPolygonF(QList<QPointF>(shape.points.begin(), shape.points.end())));
            break;
        case Shape::Rectangle:
            painter.drawRect(box);
            break;
        case Shape::Ellipse:
            painter.drawEllipse(box);
            break;
        case Shape::Line:
            painter.drawLine(QLineF(shape.points[0], shape.points[1]));
            break;
        }
    }
    painter.restore();
}

QString IconSvg()
{
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" "
                                 "viewBox=\"0 0 64 64\">\n");
    for (const Shape& shape : Drawing()) {
        const QString paint = QStringLiteral("fill=\"%1\" stroke=\"%2\" stroke-width=\"%3\"")
                                  .arg(Colour(shape.fill), Colour(shape.stroke))
                                  .arg(shape.width);
        const QPointF a = shape.points[0];
        const QPointF b = shape.points.size() > 1 ? shape.points[1] : QPointF();
        switch (shape.kind) {
        case Shape::Polygon: {
            QStringList corners;
            for (const QPointF& p : shape.points)
                corners << QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
            svg += QStringLiteral("  <polygon points=\"%1\" %2/>\n").arg(corners.join(QLatin1Char(' ')), paint);
            break;
        }
        case Shape::Rectangle:
            svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" %5/>\n")
                       .arg(a.x()).arg(a.y()).arg(b.x()).arg(b.y()).arg(paint);
            break;
        case Shape::Ellipse:
            svg += QStringLiteral("  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" %5/>\n")
                       .arg(a.x() + b.x() / 2).arg(a.y() + b.y() / 2).arg(b.x() / 2).arg(b.y() / 2).arg(paint);
            break;
        case Shape::Line:
            svg += QStringLiteral("  <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" %5 stroke-linecap=\"butt\"/>\n")
                       .arg(a.x()).arg(a.y()).arg(b.x()).arg(b.y()).arg(paint);
            break;
        }
    }
    return svg + QStringLiteral("</svg>\n");
}

} // namespace brivane
