#pragma once

#include "ui/shared/modResizeLimits.h"

#include <windows.h>

namespace brivane::win32 {

// The process-wide table of size limits (see ResizeLimitsTable) and the window procedure
// that answers WM_GETMINMAXINFO from it: a window procedure is a free function and reaches
// no object.
void ResetLimits();
int FindLimits(HWND window);
// Stores the limits and hooks the window once.
void SetLimits(HWND window, const SizeLimits& limits);
// Gives the window its own procedure back and frees its entry.
void RemoveLimits(HWND window);
void RemoveAllLimits();

LRESULT CALLBACK ResizeLimitsWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace brivane::win32
