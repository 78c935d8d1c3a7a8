#include "ui/win32/modResizeLimits.h"

#include <vector>

namespace brivane::win32 {
namespace {

struct FormLimits {
    HWND hWnd = nullptr; // null marks a free entry
    WNDPROC PrevWndProc = nullptr;
    int MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
};

// Module state by design: the replacement procedure can reach nothing else.
std::vector<FormLimits> Limits(1);

void Restore(FormLimits& entry)
{
    if (entry.PrevWndProc)
        ::SetWindowLongPtrW(entry.hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.PrevWndProc));
    entry.hWnd = nullptr;
    entry.PrevWndProc = nullptr;
}

} // namespace

void ResetLimits()
{
    Limits.assign(1, FormLimits{});
}

int FindLimits(HWND window)
{
    for (std::size_t i = 0; i < Limits.size(); ++i)
        if (Limits[i].hWnd == window)
            return static_cast<int>(i);
    return -1;
}

void SetLimits(HWND window, int MinX, int MinY, int MaxX, int MaxY)
{
    int i = FindLimits(window);
    if (i == -1) {
        Limits.push_back({window});
        i = static_cast<int>(Limits.size()) - 1;
    }
    FormLimits& entry = Limits[static_cast<std::size_t>(i)];
    entry.MinX = MinX, entry.MinY = MinY, entry.MaxX = MaxX, entry.MaxY = MaxY;
    if (!entry.PrevWndProc)
        entry.PrevWndProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ResizeLimitsWndProc)));
}

void RemoveLimits(HWND window)
{
    if (const int i = FindLimits(window); i > 0)
        Restore(Limits[static_cast<std::size_t>(i)]);
}

void RemoveAllWindowLimits()
{
    for (FormLimits& entry : Limits)
        if (entry.hWnd)
            Restore(entry);
}

LRESULT CALLBACK ResizeLimitsWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int i = FindLimits(window);
    // A window the table no longer knows (it was reset under it) gets the default handling.
    if (i <= 0)
        return ::DefWindowProcW(window, message, wParam, lParam);
    const FormLimits entry = Limits[static_cast<std::size_t>(i)];
    const LRESULT result = ::CallWindowProcW(entry.PrevWndProc, window, message, wParam, lParam);
    if (message != WM_GETMINMAXINFO)
        return result;
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize = {entry.MinX, entry.MinY};
    info->ptMaxTrackSize.x = entry.MaxX ? entry.MaxX : ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    info->ptMaxTrackSize.y = entry.MaxY ? entry.MaxY : ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return 0;
}

} // namespace brivane::win32
