#include "ui/qt/modBrowseForFolder.h"

#include <QFileDialog>

namespace brivane {

QString BrowseForFolder(const QString& initialFolder, QWidget* owner, const QString& title)
{
    QFileDialog dialog(owner, title, initialFolder);
    dialog.setFileMode(QFileDialog::Directory);
    // Qt's own dialog behaves the same on every desktop, and keyboard and tests can reach it.
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace brivane
