#pragma once

#include "ui/shared/modResizeLimits.h"

#include <QPointer>
#include <QSize>
#include <QWidget>

namespace brivane {

// What a window had before it was hooked, given back when it is unhooked.
struct PreviousSizes {
    QSize Minimum;
    QSize Maximum;
};

using QtResizeLimits = ResizeLimitsTable<QPointer<QWidget>, PreviousSizes>;

// The process-wide table; see ResizeLimitsTable.
std::vector<QtResizeLimits::FormLimits>& Limits();
void ResetLimits();
int FindLimits(const QWidget* hWnd);

// Stores the limits for the window and hooks it if it is not hooked yet.
void SetLimits(QWidget* hWnd, const SizeLimits& limits);

// Unhooks the window, giving back its own sizes, and frees its entry.
void RemoveLimits(const QWidget* hWnd);

// Unhooks every hooked window and frees every entry.
void RemoveAllLimits();

} // namespace brivane
