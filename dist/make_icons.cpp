// Build-time helper: writes the installed icons, an SVG and PNGs of 48, 128 and 256 pixels,
// and the Windows icon (16, 32, 48 and 256 pixels), from the drawing the program shows as its
// own icon.
// Usage: brivane-make-icons OUTPUT_FOLDER APPLICATION_ID
#include "ui/qt/ApplicationIcon.h"
#include "ui/shared/IconDrawing.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <iterator>

namespace {

QImage Drawn(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    brivane::PaintIcon(painter, size);
    painter.end();
    return image;
}

void AppendLittleEndian(QByteArray& bytes, quint32 value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// An ICO file whose images are PNGs, as Windows Vista and later read them: a 6-byte header,
// a 16-byte entry per image, then the images.
QByteArray WindowsIcon()
{
    const int sizes[] = {16, 32, 48, 256};
    QByteArray header, images;
    AppendLittleEndian(header, 0, 2);
    AppendLittleEndian(header, 1, 2); // an icon
    AppendLittleEndian(header, std::size(sizes), 2);
    for (const int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        Drawn(size).save(&buffer, "PNG");
        AppendLittleEndian(header, size == 256 ? 0 : size, 1); // 0 stands for 256
        AppendLittleEndian(header, size == 256 ? 0 : size, 1);
        AppendLittleEndian(header, 0, 2);  // no palette, reserved
        AppendLittleEndian(header, 1, 2);  // planes
        AppendLittleEndian(header, 32, 2); // bits per pixel
        AppendLittleEndian(header, static_cast<quint32>(png.size()), 4);
        AppendLittleEndian(header, static_cast<quint32>(6 + 16 * std::size(sizes) + images.size()), 4);
        images += png;
    }
    return header + images;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: brivane-make-icons OUTPUT_FOLDER APPLICATION_ID\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString id = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder);
    for (int size : {48, 128, 256})
        if (!Drawn(size).save(QStringLiteral("%1/%2-%3.png").arg(folder, id).arg(size)))
            return 1;
    QFile svg(QStringLiteral("%1/%2.svg").arg(folder, id));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(QByteArray::fromStdString(brivane::IconSvg())) < 0)
        return 1;
    QFile ico(QStringLiteral("%1/%2.ico").arg(folder, id));
    return ico.open(QIODevice::WriteOnly) && ico.write(WindowsIcon()) >= 0 ? 0 : 1;
}
