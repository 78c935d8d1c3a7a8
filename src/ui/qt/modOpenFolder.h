#pragma once

#include <QString>

namespace brivane {

// Hands a path, a web address or a "mailto:" link to the desktop, which opens it with its
// default program. The text is passed on unchanged; the result is not examined.
void ShellOpen(const QString& text);

} // namespace brivane
