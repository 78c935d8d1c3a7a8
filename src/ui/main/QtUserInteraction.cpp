#include "ui/main/QtUserInteraction.h"

#include <QFile>
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
    QString shown = QFile::decodeName(QByteArray::fromStdString(text));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, QFile::decodeName(QByteArray::fromStdString(title)), shown, buttons, owner_);
    box.setWindowModality(Qt::ApplicationModal);
    const int pressed = box.exec();
    if (pressed == QMessageBox::Yes)
        return {IDYES};
    return {pressed == QMessageBox::No ? IDNO : IDOK};
}

} // namespace brivane
