#pragma once

#include "platform/windows/WideText.h"
#include "ui/shared/Twips.h"

#include <string>
#include <windows.h>

namespace brivane::win32 {

// A child control of `parent` with a command ID, in the window's font.
HWND CreateChild(HWND parent, const wchar_t* type, const std::string& text, DWORD style, int id, HFONT font,
                 DWORD extendedStyle = 0);

std::string TextOf(HWND control);
void SetText(HWND control, const std::string& text);

// Twips per pixel at a window's DPI: 15 at 96 dots per inch.
float TwipsPerPixel(HWND window);

// Places a control at a twip rectangle of its parent.
void PlaceInTwips(HWND control, const TwipRect& rect, float twipsPerPixel);

// The width of one line of `text` in the control's font, in pixels.
int TextWidth(HWND control, const std::string& text);

// This system's fonts may run a one-line caption wider than the design measured it: the
// control is widened to its text where the design would clip it, never narrowed.
void WidenToFitText(HWND control);

// The system's message font at the window's DPI; the caller deletes it.
HFONT CreateMessageFont(HWND window);

// Runs a modal dialog with no controls of its own over `owner`: `procedure` makes them at
// WM_INITDIALOG, whose lParam is `self`. Returns when the dialog has ended.
void RunEmptyDialog(HWND owner, DLGPROC procedure, LPARAM self);
// The same dialog, modeless and hidden; the caller destroys it.
HWND CreateEmptyDialog(HWND owner, DLGPROC procedure, LPARAM self);

// The object a dialog made by RunEmptyDialog belongs to, for a message to go to: at
// WM_INITDIALOG its `self` makes the controls (Load) and nothing is returned, as before it.
template <typename Dialog>
Dialog* DialogObject(HWND dialog, UINT message, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return reinterpret_cast<Dialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    reinterpret_cast<Dialog*>(lParam)->Load(dialog);
    return nullptr;
}

// Gives a dialog a client area of the design's size, centred over its owner, and the owner's icon.
void SizeAndCentre(HWND dialog, HWND owner, float clientWidthTwips, float clientHeightTwips);
HICON IconOf(HWND window);

} // namespace brivane::win32
