#pragma once

#include <QPointer>
#include <QSize>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

namespace brivane {

// What a window had before it was hooked, given back when it is unhooked.
struct PreviousSizes {
    QSize Minimum;
    QSize Maximum;
};

// One registered window. Limits are in pixels; a maximum of 0 means the screen's size.
struct FormLimits {
    QPointer<QWidget> hWnd;                     // null: a free entry (never used, or removed)
    std::optional<PreviousSizes> PrevWndProc;   // set while the window is hooked
    std::int32_t MinX = 0;
    std::int32_t MinY = 0;
    std::int32_t MaxX = 0;
    std::int32_t MaxY = 0;
};

// The process-wide table. Entry 0 is never given to a window; entries are appended, never
// reused, and at most one entry names a given window.
std::vector<FormLimits>& Limits();

// Back to exactly one free entry, index 0.
void ResetLimits();

// The index of the window's entry, or -1.
int FindLimits(const QWidget* hWnd);

// Stores the limits for the window and hooks it if it is not hooked yet.
void SetLimits(QWidget* hWnd, std::int32_t MinX, std::int32_t MinY, std::int32_t MaxX, std::int32_t MaxY);

// Unhooks the window, giving back its own sizes, and frees its entry.
void RemoveLimits(const QWidget* hWnd);

// Unhooks every hooked window and frees every entry.
void RemoveAllLimits();

} // namespace brivane
