#pragma once

#include <string>
#include <windows.h>

namespace brivane::win32 {

// The shell's folder dialog, modal to `owner`, with `initialFolder` selected and `title` above
// the tree; only file-system folders can be chosen. Returns the chosen folder's full path, or
// nothing when the user cancelled. COM must be initialised apartment-threaded.
std::string BrowseForFolder(const std::string& initialFolder, HWND owner, const std::string& title);

} // namespace brivane::win32
