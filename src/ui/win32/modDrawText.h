#pragma once

#include <string>
#include <windows.h>

namespace brivane::win32 {

// Shows a path in a label without wrapping it: a path too wide for 96 % of the label loses
// a middle part to "...", keeping the start and the last folder name. Returns the text shown;
// the caller keeps the full path (the label's tag) and offers it as hover text when shortened.
std::string FitPathToLabel(HWND label, const std::string& path);

// `text` as it fits `width` pixels in the control's font on one line: cut at its end with
// an ellipsis when it is wider.
std::wstring FitTextWithEllipsis(HWND control, const std::wstring& text, int width);

} // namespace brivane::win32
