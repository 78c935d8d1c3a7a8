#pragma once

#include "interaction/UserInteraction.h"

#include <windows.h>

namespace brivane::win32 {

// Shows the core's messages as modal message boxes owned by a window. A batch's message
// that offers "Do this for the remaining files" is a task dialog with that check box.
class MessageBoxInteraction : public UserInteraction {
public:
    explicit MessageBoxInteraction(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    UserReply Show(const UserMessage& message) override;

private:
    HWND owner_;
};

} // namespace brivane::win32
