#pragma once

namespace brivane {

// Whether a link holds the mouse for its hover effect: from its capture until the mouse
// leaves it, the edges counting as inside. Each front end keeps one as module state, as the
// mouse capture it follows is the process's.
class MouseOverState {
public:
    void Captured() { active_ = true; }
    bool Active() const { return active_; }

    // Whether a move to (X, Y) leaves a control of `width` x `height` while it holds the
    // mouse; leaving ends the hold.
    bool Leaves(float X, float Y, float width, float height)
    {
        if (!active_ || (X >= 0 && Y >= 0 && X <= width && Y <= height))
            return false;
        active_ = false;
        return true;
    }

private:
    bool active_ = false;
};

} // namespace brivane
