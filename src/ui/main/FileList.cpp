#include "ui/main/FileList.h"

#include <QDir>
#include <QListWidget>

namespace brivane {
namespace {

const char* const kFolderProperty = "Folder";

} // namespace

void SetFileListFolder(QListWidget& list, const QString& folder)
{
    list.setProperty(kFolderProperty, folder);
    list.clear();
    // Without QDir::System, FIFOs, sockets, devices and broken links stay out; without
    // QDir::Hidden, so do dot-files. Name filters match without regard to case.
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.imf")}, QDir::Files,
                                                     QDir::Name | QDir::IgnoreCase);
    list.addItems(names);
}

QString FileListFolder(const QListWidget& list)
{
    return list.property(kFolderProperty).toString();
}

} // namespace brivane
