#pragma once

class QWidget;

namespace brivane {

// Lets a window declare the smallest and largest size the user may drag it to. Creating
// the object resets the shared table; destroying it gives every hooked window its own
// sizes back. One object is meant to exist at a time.
class clsResizeLimits {
public:
    clsResizeLimits();
    clsResizeLimits(const clsResizeLimits&) = delete;
    clsResizeLimits& operator=(const clsResizeLimits&) = delete;
    ~clsResizeLimits();

    // Values in the window's own unit (twips for designed windows; a widget without a scale
    // mode counts as twips), or in pixels when ValuesArePixels is set. A maximum of 0 means
    // the screen's size. Never reports an error: a value that cannot be used registers nothing.
    void AddLimits(QWidget* frm, double MinX = 0, double MinY = 0, double MaxX = 0, double MaxY = 0,
                   bool ValuesArePixels = false);

    // Gives the window its own sizes back; nothing happens for a window that has no entry.
    // Throws std::invalid_argument when there is no window.
    void RemoveFormLimits(QWidget* frm);

    void RemoveAllLimits();
};

} // namespace brivane
