#include "ui/qt/MessageBoxes.h"

#include "ui/qt/FileNames.h"
#include "ui/shared/Captions.h"

#include <QCheckBox>
#include <QMessageBox>

namespace brivane {

UserReply QtUserInteraction::Show(const UserMessage& message)
{
    const std::string& text = message.Text;
    const std::string& title = message.Title;
    const int style = message.Style;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (style == MB_ICONHAND) {
        icon = QMessageBox::Critical;
    } else if (style == MB_ICONQUESTION_YESNO) {
        icon = QMessageBox::Question;
        buttons = QMessageBox::Yes | QMessageBox::No;
    }
    // Paths in the texts are the file system's bytes; CR LF breaks the line on every platform.
    QString shown = ToText(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, ToText(title), shown, buttons, owner_);
    box.setWindowModality(Qt::ApplicationModal);
    if (message.DefaultNo)
        box.setDefaultButton(QMessageBox::No);
    if (!message.Details.empty())
        box.setDetailedText(ToText(message.Details));
    if (message.OfferApplyToRest)
        box.setCheckBox(new QCheckBox(QMessageBox::tr(captions::kApplyToRest), &box));
    const int pressed = box.exec();
    UserReply reply{pressed == QMessageBox::Yes ? IDYES : pressed == QMessageBox::No ? IDNO : IDOK};
    reply.ApplyToRest = box.checkBox() && box.checkBox()->isChecked();
    return reply;
}

} // namespace brivane
