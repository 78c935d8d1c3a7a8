#pragma once

#include "interaction/UserInteraction.h"

class QWidget;

namespace brivane {

// Shows the core's messages as modal message boxes owned by a window.
class MessageBoxInteraction : public UserInteraction {
public:
    explicit MessageBoxInteraction(QWidget* owner) : owner_(owner) {}

    UserReply Show(const UserMessage& message) override;

private:
    QWidget* owner_;
};

} // namespace brivane
