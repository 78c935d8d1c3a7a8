#pragma once

#include <windows.h>

namespace brivane::win32 {

// The process-wide table of size limits and the window procedure that answers
// WM_GETMINMAXINFO from it: a window procedure is a free function and reaches no object.
// Entry 0 is never given to a window; entries are appended and never reused.

// Empties the table to its one unused entry.
void ResetLimits();
// The index of the window's entry, or -1.
int FindLimits(HWND window);
// Stores the limits (pixels; a maximum of 0 is the screen's size) and hooks the window once.
void SetLimits(HWND window, int MinX, int MinY, int MaxX, int MaxY);
// Gives the window its own procedure back and frees its entry.
void RemoveLimits(HWND window);
void RemoveAllWindowLimits();

LRESULT CALLBACK ResizeLimitsWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace brivane::win32
