#include "ui/qt/ApplicationIcon.h"

#include "ui/shared/IconDrawing.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace brivane {
namespace {

std::optional<QColor> ToColour(const std::optional<IconColour>& colour)
{
    return colour ? std::optional(QColor(colour->Red, colour->Green, colour->Blue)) : std::nullopt;
}

} // namespace

void PaintIcon(QPainter& painter, int size)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    for (const IconShape& shape : IconDrawing()) {
        const auto stroke = ToColour(shape.Stroke), fill = ToColour(shape.Fill);
        painter.setPen(stroke ? QPen(*stroke, shape.Width, Qt::SolidLine, Qt::FlatCap) : QPen(Qt::NoPen));
        painter.setBrush(fill ? QBrush(*fill) : QBrush(Qt::NoBrush));
        QPolygonF points;
        for (const IconPoint& point : shape.Points)
            points << QPointF(point.X, point.Y);
        const QRectF box(points[0], points.size() > 1 ? QSizeF(points[1].x(), points[1].y()) : QSizeF());
        switch (shape.Kind) {
        case IconShape::Polygon: painter.drawPolygon(points); break;
        case IconShape::Rectangle: painter.drawRect(box); break;
        case IconShape::Ellipse: painter.drawEllipse(box); break;
        case IconShape::Line: painter.drawLine(points[0], points[1]); break;
        }
    }
    painter.restore();
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        PaintIcon(painter, size);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace brivane
