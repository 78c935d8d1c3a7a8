#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace brivane {

// Size limits in pixels; a maximum of 0 means the screen's size.
struct SizeLimits {
    std::int32_t MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
};

// The process-wide table of windows and their size limits, the same for every toolkit:
// `Window` names a window, `Saved` is what hooking it replaced (its procedure, its own
// sizes), given back when it is unhooked. Entry 0 is never given to a window; entries are
// appended, never reused, and at most one entry names a given window. Each front end keeps
// one table as module state: its hook reaches nothing else.
template <typename Window, typename Saved>
class ResizeLimitsTable {
public:
    struct FormLimits {
        Window hWnd{};                    // empty: a free entry (never used, or removed)
        std::optional<Saved> PrevWndProc; // set while the window is hooked
        SizeLimits Limits;
    };

    std::vector<FormLimits>& Entries() { return entries_; }
    void Reset() { entries_.assign(1, FormLimits{}); }

    // The index of the window's entry, or -1.
    template <typename Key>
    int Find(const Key& window) const
    {
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (entries_[i].hWnd == window)
                return static_cast<int>(i);
        return -1;
    }

    // Stores the limits and hooks the window once (`hook` returns what it replaced): the
    // saved state is the window's own, however often its limits change.
    template <typename Key, typename Hook>
    FormLimits& Set(const Key& window, const SizeLimits& limits, Hook hook)
    {
        int i = Find(window);
        if (i < 0) {
            entries_.push_back(FormLimits{Window(window), std::nullopt, {}});
            i = static_cast<int>(entries_.size()) - 1;
        }
        FormLimits& entry = entries_[static_cast<std::size_t>(i)];
        entry.Limits = limits;
        if (!entry.PrevWndProc)
            entry.PrevWndProc = hook();
        return entry;
    }

    // Unhooks the window (`unhook` gives back what was saved) and frees its entry.
    template <typename Key, typename Unhook>
    void Remove(const Key& window, Unhook unhook)
    {
        if (const int i = Find(window); i > 0)
            Free(entries_[static_cast<std::size_t>(i)], unhook);
    }

    template <typename Unhook>
    void RemoveAll(Unhook unhook)
    {
        for (FormLimits& entry : entries_)
            if (entry.hWnd)
                Free(entry, unhook);
    }

private:
    template <typename Unhook>
    static void Free(FormLimits& entry, Unhook unhook)
    {
        if (entry.PrevWndProc)
            unhook(entry);
        entry.hWnd = Window{};
        entry.PrevWndProc.reset();
    }

    std::vector<FormLimits> entries_ = std::vector<FormLimits>(1);
};

// A limit in pixels, rounded to nearest with halves to even; nothing when it is no 32-bit
// integer, and a limit that cannot be used registers nothing.
inline std::optional<std::int32_t> PixelLimit(double value)
{
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < -2147483648.0 || rounded > 2147483647.0)
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

// Limits given in twips as pixels, `perPixelX` and `perPixelY` twips to a pixel (1 for values
// in pixels already); nothing when one of them cannot be used.
inline std::optional<SizeLimits> LimitsInPixels(double MinX, double MinY, double MaxX, double MaxY, double perPixelX,
                                                double perPixelY)
{
    const auto minX = PixelLimit(MinX / perPixelX), minY = PixelLimit(MinY / perPixelY);
    const auto maxX = PixelLimit(MaxX / perPixelX), maxY = PixelLimit(MaxY / perPixelY);
    if (!minX || !minY || !maxX || !maxY)
        return std::nullopt;
    return SizeLimits{*minX, *minY, *maxX, *maxY};
}

} // namespace brivane
