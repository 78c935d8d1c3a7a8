#include "ui/qt/ApplicationIcon.h"

#include "ui/qt/IconDrawing.h"

#include <QPainter>
#include <QPixmap>

namespace brivane {

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
