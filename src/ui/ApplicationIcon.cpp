#include "ui/ApplicationIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace brivane {
namespace {

QPixmap DrawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    // The disk: a dark body with a cut corner, a metal shutter and a label.
    QPainterPath disk;
    disk.moveTo(4, 4);
    disk.lineTo(52, 4);
    disk.lineTo(60, 12);
    disk.lineTo(60, 60);
    disk.lineTo(4, 60);
    disk.closeSubpath();
    painter.setPen(QPen(QColor(20, 30, 60), 2));
    painter.setBrush(QColor(40, 70, 140));
    painter.drawPath(disk);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(190, 195, 205));
    painter.drawRect(QRectF(16, 4, 28, 16));
    painter.setBrush(QColor(40, 70, 140));
    painter.drawRect(QRectF(34, 7, 6, 10));
    painter.setBrush(QColor(245, 240, 220));
    painter.drawRect(QRectF(12, 28, 40, 28));

    // The note on the label: two heads joined by a beam.
    painter.setBrush(QColor(200, 30, 40));
    painter.drawEllipse(QRectF(17, 45, 9, 7));
    painter.drawEllipse(QRectF(35, 42, 9, 7));
    painter.setPen(QPen(QColor(200, 30, 40), 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QLineF(25, 48, 25, 32));
    painter.drawLine(QLineF(43, 45, 43, 30));
    painter.setPen(QPen(QColor(200, 30, 40), 5, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QLineF(24, 33, 44, 30));
    return pixmap;
}

} // namespace

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 256})
        icon.addPixmap(DrawIcon(size));
    return icon;
}

} // namespace brivane
