#include "ui/qt/modResizeLimits.h"

#include <QEvent>
#include <QScreen>

namespace brivane {
namespace {

// Stands in for the replacement window procedure: one shared filter on every hooked window.
// The window's own handling always runs as well (the filter never eats an event); the
// filter only keeps the window's size bounds in step with its entry.
class ResizeLimitsFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

ResizeLimitsFilter& Filter()
{
    static ResizeLimitsFilter filter;
    return filter;
}

QtResizeLimits g_Limits;

void ApplyLimits(const QtResizeLimits::FormLimits& entry)
{
    QWidget& window = *entry.hWnd;
    const QScreen* screen = window.screen();
    const QSize available = screen ? screen->availableSize() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const SizeLimits& limits = entry.Limits;
    window.setMinimumSize(limits.MinX, limits.MinY);
    window.setMaximumSize(limits.MaxX != 0 ? limits.MaxX : available.width(),
                          limits.MaxY != 0 ? limits.MaxY : available.height());
}

// A window that is gone has nothing to give back; its entry is freed all the same.
void Unhook(QtResizeLimits::FormLimits& entry)
{
    if (!entry.hWnd)
        return;
    entry.hWnd->removeEventFilter(&Filter());
    entry.hWnd->setMinimumSize(entry.PrevWndProc->Minimum);
    entry.hWnd->setMaximumSize(entry.PrevWndProc->Maximum);
}

bool ResizeLimitsFilter::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::Show && type != QEvent::ScreenChangeInternal)
        return false;
    // A window the table no longer knows (the table was reset) is passed on untouched.
    const int i = FindLimits(qobject_cast<QWidget*>(watched));
    if (i > 0)
        ApplyLimits(g_Limits.Entries()[static_cast<std::size_t>(i)]); // a maximum of 0 follows the screen
    return false;
}

} // namespace

std::vector<QtResizeLimits::FormLimits>& Limits()
{
    return g_Limits.Entries();
}

void ResetLimits()
{
    g_Limits.Reset();
}

int FindLimits(const QWidget* hWnd)
{
    return g_Limits.Find(hWnd);
}

void SetLimits(QWidget* hWnd, const SizeLimits& limits)
{
    if (!hWnd)
        return;
    ApplyLimits(g_Limits.Set(hWnd, limits, [hWnd] {
        hWnd->installEventFilter(&Filter());
        return PreviousSizes{hWnd->minimumSize(), hWnd->maximumSize()};
    }));
}

void RemoveLimits(const QWidget* hWnd)
{
    g_Limits.Remove(hWnd, Unhook);
}

void RemoveAllLimits()
{
    g_Limits.RemoveAll(Unhook);
}

} // namespace brivane
