// Build-time helper: writes the installed icons, an SVG and PNGs of 48, 128 and 256 pixels,
// from the drawing the program shows as its own icon.
// Usage: brivane-make-icons OUTPUT_FOLDER APPLICATION_ID
#include "ui/IconDrawing.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: brivane-make-icons OUTPUT_FOLDER APPLICATION_ID\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString id = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder);
    for (int size : {48, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        brivane::PaintIcon(painter, size);
        painter.end();
        if (!image.save(QStringLiteral("%1/%2-%3.png").arg(folder, id).arg(size)))
            return 1;
    }
    QFile svg(QStringLiteral("%1/%2.svg").arg(folder, id));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(brivane::IconSvg().toUtf8()) < 0)
        return 1;
    return 0;
}
