#pragma once

namespace brivane {

// Shows the pointing-hand cursor over the control that holds the mouse grab.
void SetCursorToHand();

} // namespace brivane
