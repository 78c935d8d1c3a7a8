#include "ui/qt/modOpenFolder.h"

#include <QDesktopServices>
#include <QUrl>

namespace brivane {

void ShellOpen(const QString& text)
{
    const QUrl link(text);
    // A text without a scheme is a local path and opens as a file.
    QDesktopServices::openUrl(link.scheme().size() > 1 ? link : QUrl::fromLocalFile(text));
}

} // namespace brivane
