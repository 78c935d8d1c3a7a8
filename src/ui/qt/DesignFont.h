#pragma once

class QWidget;

namespace brivane {

// The windows' twips were drawn for the classic 8-point dialog font; the platform's larger
// default would clip captions such as "Original Tics:". Both windows use this size.
void UseDesignFont(QWidget& window);

} // namespace brivane
