#pragma once

#include "platform/UserInteraction.h"

class QWidget;

namespace brivane {

// Shows the core's messages as modal message boxes owned by a window.
class QtUserInteraction : public UserInteraction {
public:
    explicit QtUserInteraction(QWidget* owner) : owner_(owner) {}

    int ShowMessage(const std::string& text, const std::string& title, int style) override;

private:
    QWidget* owner_;
};

} // namespace brivane
