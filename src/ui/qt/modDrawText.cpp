#include "ui/qt/modDrawText.h"

#include "ui/qt/Controls.h"
#include "ui/qt/TextBytes.h"
#include "ui/shared/TextFitting.h"

#include <QFontMetrics>
#include <QLabel>

#include <cmath>

namespace brivane {
namespace {

const char* const kTagProperty = "Tag";

} // namespace

int FittingWidth(const QLabel& label, float twipsPerPixelX)
{
    const double widthTwips = std::nearbyint(PixelsToTwips(label.width(), twipsPerPixelX));
    const int pixels = static_cast<int>(widthTwips) / static_cast<int>(std::nearbyint(twipsPerPixelX));
    constexpr float kShrink = 0.96f;
    return static_cast<int>(std::nearbyint(pixels * static_cast<double>(kShrink)));
}

void FitPathToLabel(QWidget& window, QLabel& label, const QString& path)
{
    const QFontMetrics metrics(label.font());
    const int room = FittingWidth(label, TwipsPerPixelX(window));
    const QString fitted = ToText(ElidePath(ToBytes(path), [&](const std::string& text) {
        return metrics.horizontalAdvance(ToText(text)) <= room;
    }));
    label.setText(fitted);
    label.setProperty(kTagProperty, path);
    label.setToolTip(fitted == path ? QString() : path);
}

QString LabelTag(const QLabel& label)
{
    return label.property(kTagProperty).toString();
}

} // namespace brivane
