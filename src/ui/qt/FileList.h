#pragma once

#include <QString>

#include <string>

class QListWidget;
class QListWidgetItem;

namespace brivane {

// Fills the list with the folder's "*.imf" files (any case), regular files only, dot-files
// hidden, sorted by name without regard to case; the previous entries and selection go.
// A name that is not valid text is shown with replacement characters and still used by
// its bytes.
void SetFileListFolder(QListWidget& list, const QString& folder);

// The folder the list was last filled from.
QString FileListFolder(const QListWidget& list);

// The full path of an entry, as the file system's bytes.
std::string SongPath(const QListWidget& list, const QListWidgetItem& item);

} // namespace brivane
