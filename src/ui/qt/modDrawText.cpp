#include "ui/qt/modDrawText.h"

#include "ui/qt/Controls.h"

#include <QFontMetrics>
#include <QLabel>

#include <cmath>

namespace brivane {
namespace {

const QString kEllipsis = QStringLiteral("...");
const char* const kTagProperty = "Tag";

bool Fits(const QFontMetrics& metrics, const QString& text, int right)
{
    return metrics.horizontalAdvance(text) <= right;
}

} // namespace

QString ElidePath(const QString& path, const QFontMetrics& metrics, int right)
{
    if (Fits(metrics, path, right))
        return path;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString last = slash < 0 ? path : path.mid(slash);
    const QString head = slash < 0 ? QString() : path.left(slash);
    // As much of the start as fits in front of "..." and the whole last name.
    for (qsizetype keep = head.size(); keep >= 0; --keep) {
        const QString candidate = head.left(keep) + kEllipsis + last;
        if (Fits(metrics, candidate, right))
            return candidate;
    }
    // Not even the last name fits: keep its end.
    for (qsizetype drop = 1; drop < last.size(); ++drop) {
        const QString candidate = kEllipsis + last.mid(drop);
        if (Fits(metrics, candidate, right))
            return candidate;
    }
    return kEllipsis;
}

int FittingWidth(const QLabel& label, float twipsPerPixelX)
{
    const double widthTwips = std::nearbyint(PixelsToTwips(label.width(), twipsPerPixelX));
    const int pixels = static_cast<int>(widthTwips) / static_cast<int>(std::nearbyint(twipsPerPixelX));
    constexpr float kShrink = 0.96f;
    return static_cast<int>(std::nearbyint(pixels * static_cast<double>(kShrink)));
}

void FitPathToLabel(QWidget& window, QLabel& label, const QString& path)
{
    const QString fitted = ElidePath(path, QFontMetrics(label.font()), FittingWidth(label, TwipsPerPixelX(window)));
    label.setText(fitted);
    label.setProperty(kTagProperty, path);
    label.setToolTip(fitted == path ? QString() : path);
}

QString LabelTag(const QLabel& label)
{
    return label.property(kTagProperty).toString();
}

} // namespace brivane
