#pragma once

#include <QObject>

class QWidget;

namespace brivane {

// While it lives, the window and its menus take no input: no click, key, shortcut or close
// reaches them. Dialogs and message boxes of their own stay usable.
class InputBlocker : public QObject {
public:
    explicit InputBlocker(QWidget& window);
    ~InputBlocker() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
};

} // namespace brivane
