#pragma once

#include <QString>

class QListWidget;

namespace brivane {

// Fills the list with the folder's "*.imf" files (any case), regular files only, dot-files
// hidden, sorted by name without regard to case; the previous entries and selection go.
void SetFileListFolder(QListWidget& list, const QString& folder);

// The folder the list was last filled from.
QString FileListFolder(const QListWidget& list);

} // namespace brivane
