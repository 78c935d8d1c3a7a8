#include "ui/qt/MessageBoxInteraction.h"

#include "ui/qt/TextBytes.h"
#include "ui/shared/Captions.h"

#include <QCheckBox>
#include <QMessageBox>

namespace brivane {

UserReply MessageBoxInteraction::Show(const UserMessage& message)
{
    const std::string& text = message.Text;
    const std::string& title = message.Title;
    const MessageStyle style = message.Style;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (style == MessageStyle::Error) {
        icon = QMessageBox::Critical;
    } else if (style == MessageStyle::Question) {
        icon = QMessageBox::Question;
        buttons = QMessageBox::Yes | QMessageBox::No;
    }
    // Paths in the texts are the file system's bytes; "\n" breaks a line in Qt as in the core.
    QMessageBox box(icon, ToText(title), ToText(text), buttons, owner_);
    box.setWindowModality(Qt::ApplicationModal);
    if (message.DefaultNo)
        box.setDefaultButton(QMessageBox::No);
    if (!message.Details.empty())
        box.setDetailedText(ToText(message.Details));
    if (message.OfferApplyToRest)
        box.setCheckBox(new QCheckBox(QMessageBox::tr(captions::kApplyToRest), &box));
    const int pressed = box.exec();
    UserReply reply{pressed == QMessageBox::Yes ? UserAnswer::Yes : pressed == QMessageBox::No ? UserAnswer::No : UserAnswer::Ok};
    reply.ApplyToRest = box.checkBox() && box.checkBox()->isChecked();
    return reply;
}

} // namespace brivane
