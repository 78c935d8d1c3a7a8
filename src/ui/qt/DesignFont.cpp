#include "ui/qt/DesignFont.h"

#include <QWidget>

namespace brivane {

void UseDesignFont(QWidget& window)
{
    QFont font = window.font();
    font.setPointSizeF(8);
    window.setFont(font);
}

} // namespace brivane
