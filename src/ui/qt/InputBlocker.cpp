#include "ui/qt/InputBlocker.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>

namespace brivane {
namespace {

// Whether an object is part of the window: a widget inside it, or an action or shortcut of
// it or of its menus. Another window along the way (a message box) is not part of it.
bool BelongsTo(QObject* object, const QWidget& window)
{
    for (; object; object = object->parent()) {
        if (object == &window)
            return true;
        const auto* widget = qobject_cast<const QWidget*>(object);
        if (widget && widget->isWindow() && !qobject_cast<const QMenu*>(widget))
            return false;
    }
    return false;
}

bool IsInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

InputBlocker::InputBlocker(QWidget& window) : window_(window)
{
    qApp->installEventFilter(this);
}

InputBlocker::~InputBlocker()
{
    qApp->removeEventFilter(this);
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsInput(event->type()) || !BelongsTo(watched, window_))
        return false;
    event->ignore(); // a close that is not accepted does not close
    return true;
}

} // namespace brivane
