#pragma once

class QWidget;

namespace brivane {

// A control is told when the mouse moves over it but not when it leaves, so on entry it
// takes the mouse grab; it then sees the first move outside, and gives the grab up there.
// One flag for all controls: only one widget can hold the grab at a time.

void CaptureMouseOver(QWidget& control);

// Gives up a grab a control may still hold; leaves the flag as it is.
void ReleaseMouseOver();

// X and Y relative to the control's top-left corner; the edges count as inside. True only
// when the control held the grab and the mouse is now outside it: the grab is then released.
bool MouseLeftControl(QWidget& control, float X, float Y);

bool MouseOverActive();

} // namespace brivane
