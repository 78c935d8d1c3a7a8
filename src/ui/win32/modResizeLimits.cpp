#include "ui/win32/modResizeLimits.h"

namespace brivane::win32 {
namespace {

using Win32ResizeLimits = ResizeLimitsTable<HWND, WNDPROC>;

// Module state by design: the replacement procedure can reach nothing else.
Win32ResizeLimits Limits;

void Restore(Win32ResizeLimits::FormLimits& entry)
{
    ::SetWindowLongPtrW(entry.hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*entry.PrevWndProc));
}

} // namespace

void ResetLimits()
{
    Limits.Reset();
}

int FindLimits(HWND window)
{
    return Limits.Find(window);
}

void SetLimits(HWND window, const SizeLimits& limits)
{
    Limits.Set(window, limits, [window] {
        return reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ResizeLimitsWndProc)));
    });
}

void RemoveLimits(HWND window)
{
    Limits.Remove(window, Restore);
}

void RemoveAllLimits()
{
    Limits.RemoveAll(Restore);
}

LRESULT CALLBACK ResizeLimitsWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int i = FindLimits(window);
    // A window the table no longer knows (it was reset under it) gets the default handling.
    if (i <= 0)
        return ::DefWindowProcW(window, message, wParam, lParam);
    const Win32ResizeLimits::FormLimits entry = Limits.Entries()[static_cast<std::size_t>(i)];
    const LRESULT result = ::CallWindowProcW(*entry.PrevWndProc, window, message, wParam, lParam);
    if (message != WM_GETMINMAXINFO)
        return result;
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    const SizeLimits& limits = entry.Limits;
    info->ptMinTrackSize = {limits.MinX, limits.MinY};
    info->ptMaxTrackSize.x = limits.MaxX ? limits.MaxX : ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    info->ptMaxTrackSize.y = limits.MaxY ? limits.MaxY : ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return 0;
}

} // namespace brivane::win32
