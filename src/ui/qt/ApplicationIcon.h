#pragma once

#include <QIcon>

namespace brivane {

// Brivane's icon, a note over a floppy disk, drawn at six sizes.
QIcon ApplicationIcon();

} // namespace brivane
