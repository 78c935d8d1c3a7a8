#pragma once

#include "interaction/UserInteraction.h"

class QWidget;

namespace brivane {

// Shows the core's messages as modal message boxes owned by a window.
class QtUserInteraction : public UserInteraction {
public:
    explicit QtUserInteraction(QWidget* owner) : owner_(owner) {}

    UserReply Show(const UserMessage& message) override;

private:
    QWidget* owner_;
};

} // namespace brivane
