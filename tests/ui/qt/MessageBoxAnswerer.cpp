#include "MessageBoxAnswerer.h"

#include "interaction/UserInteraction.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTest>

namespace brivane::test {
namespace {

MessageStyle StyleOf(const QMessageBox& box)
{
    switch (box.icon()) {
    case QMessageBox::Critical: return MessageStyle::Error;
    case QMessageBox::Question: return MessageStyle::Question;
    case QMessageBox::Information: return MessageStyle::Information;
    default: return MessageStyle::Information;
    }
}

} // namespace

MessageBoxAnswerer::MessageBoxAnswerer(std::deque<QMessageBox::StandardButton> answers)
    : answers_(std::move(answers))
{
    connect(&timer_, &QTimer::timeout, this, &MessageBoxAnswerer::Poll);
    timer_.start(5);
}

void MessageBoxAnswerer::Poll()
{
    if (!answering)
        return;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (!box || !box->isVisible() || box->property("answered").toBool())
            continue;
        box->setProperty("answered", true);
        seen.push_back({QFile::encodeName(box->text()).toStdString(),
                        QFile::encodeName(box->windowTitle()).toStdString(), StyleOf(*box)});
        offeredApplyToRest.push_back(box->checkBox() != nullptr);
        details.push_back(box->detailedText().toStdString());
        defaults.push_back(box->standardButton(box->defaultButton()));
        if (box->checkBox() && tickApplyToRest)
            box->checkBox()->setChecked(true);
        QMessageBox::StandardButton answer = QMessageBox::Ok;
        if (box->icon() == QMessageBox::Question && pressEnter && (answers_.empty() || answers_.front() == QMessageBox::NoButton)) {
            if (!answers_.empty())
                answers_.pop_front();
            QTest::keyClick(box, Qt::Key_Return);
            continue;
        }
        if (box->icon() == QMessageBox::Question) {
            answer = answers_.empty() ? QMessageBox::No : answers_.front();
            if (!answers_.empty())
                answers_.pop_front();
        }
        box->button(answer)->click();
    }
}

void WithDialogHandler(const std::function<bool(QWidget*)>& handle, const std::function<void()>& work)
{
    QTimer timer;
    bool handled = false;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (handled)
            return;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && handle(widget)) {
                handled = true;
                return;
            }
    });
    timer.start(5);
    work();
}

} // namespace brivane::test
