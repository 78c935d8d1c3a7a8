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

std::vector<FormLimits> g_Limits(1);

void ApplyLimits(const FormLimits& entry)
{
    QWidget& window = *entry.hWnd;
    const QScreen* screen = window.screen();
    const QSize available = screen ? screen->availableSize() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window.setMinimumSize(entry.MinX, entry.MinY);
    window.setMaximumSize(entry.MaxX != 0 ? entry.MaxX : available.width(),
                          entry.MaxY != 0 ? entry.MaxY : available.height());
}

void Unhook(FormLimits& entry)
{
    if (entry.hWnd && entry.PrevWndProc) {
        entry.hWnd->removeEventFilter(&Filter());
        entry.hWnd->setMinimumSize(entry.PrevWndProc->Minimum);
        entry.hWnd->setMaximumSize(entry.PrevWndProc->Maximum);
    }
    // A window that is gone has nothing to give back; its entry is freed all the same.
    entry.hWnd = nullptr;
    entry.PrevWndProc.reset();
}

bool ResizeLimitsFilter::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::Show && type != QEvent::ScreenChangeInternal)
        return false;
    // A window the table no longer knows (the table was reset) is passed on untouched.
    const int i = FindLimits(qobject_cast<QWidget*>(watched));
    if (i > 0)
        ApplyLimits(g_Limits[static_cast<std::size_t>(i)]); // a maximum of 0 follows the screen
    return false;
}

} // namespace

std::vector<FormLimits>& Limits()
{
    return g_Limits;
}

void ResetLimits()
{
    g_Limits.assign(1, FormLimits{});
}

int FindLimits(const QWidget* hWnd)
{
    for (std::size_t i = 0; i < g_Limits.size(); ++i)
        if (g_Limits[i].hWnd == hWnd)
            return static_cast<int>(i);
    return -1;
}

void SetLimits(QWidget* hWnd, std::int32_t MinX, std::int32_t MinY, std::int32_t MaxX, std::int32_t MaxY)
{
    if (!hWnd)
        return;
    int i = FindLimits(hWnd);
    if (i < 0) {
        g_Limits.push_back(FormLimits{});
        i = static_cast<int>(g_Limits.size()) - 1;
        g_Limits.back().hWnd = hWnd;
    }
    FormLimits& entry = g_Limits[static_cast<std::size_t>(i)];
    entry.MinX = MinX;
    entry.MinY = MinY;
    entry.MaxX = MaxX;
    entry.MaxY = MaxY;
    // Hooked once: the sizes kept are the window's own, however often its limits change.
    if (!entry.PrevWndProc) {
        entry.PrevWndProc = PreviousSizes{hWnd->minimumSize(), hWnd->maximumSize()};
        hWnd->installEventFilter(&Filter());
    }
    ApplyLimits(entry);
}

void RemoveLimits(const QWidget* hWnd)
{
    const int i = FindLimits(hWnd);
    if (i < 0)
        return;
    Unhook(g_Limits[static_cast<std::size_t>(i)]);
}

void RemoveAllLimits()
{
    for (FormLimits& entry : g_Limits)
        if (entry.hWnd)
            Unhook(entry);
}

} // namespace brivane
