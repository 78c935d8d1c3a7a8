#pragma once

#include <QString>

class QWidget;

namespace brivane {

// A modal chooser of file-system folders, starting at `initialFolder` when it exists.
// Returns the chosen folder's full path, or empty text when the user cancelled.
QString BrowseForFolder(const QString& initialFolder, QWidget* owner, const QString& title);

} // namespace brivane
