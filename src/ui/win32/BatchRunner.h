#pragma once

#include "ui/shared/BatchRelay.h"

#include <atomic>
#include <functional>
#include <windows.h>

namespace brivane::win32 {

// Sent by a batch's thread to the window: LPARAM points at a std::function<void()> to run
// on the window's thread; the sender waits until it has run.
inline constexpr UINT kRunOnWindowThread = WM_APP + 1;

// Runs a batch on a thread of its own while the window repaints and takes no input. A
// progress dialog with Cancel appears when the batch runs longer than half a second, never
// over a waiting message; every message is a modal box from `boxes` on the window's thread.
// The window's procedure passes kRunOnWindowThread to RunOnWindowThread. Returns when the
// batch has ended.
void RunBatch(HWND window, UserInteraction& boxes, const BatchWork& work);

LRESULT RunOnWindowThread(LPARAM call);

} // namespace brivane::win32
