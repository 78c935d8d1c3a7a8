#pragma once

namespace brivane::win32 {

// Shows the pointing-hand cursor over the control that holds the mouse capture.
void SetCursorToHand();

} // namespace brivane::win32
