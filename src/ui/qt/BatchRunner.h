#pragma once

#include "ui/shared/BatchRelay.h"

#include <atomic>
#include <functional>

class QWidget;

namespace brivane {

// Runs a batch on a thread of its own while the window stays alive and repaints. A progress
// dialog, modal to the window, appears when the batch takes longer than about half a second
// and offers Cancel; until then the window takes no input either. Every message still comes
// as a modal box from `boxes` on the window's thread, and the batch waits for its answer.
// Returns when the batch has ended.
void RunBatch(QWidget& window, UserInteraction& boxes, const BatchWork& work);

} // namespace brivane
