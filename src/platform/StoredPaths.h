#pragma once

#include <string>

namespace brivane {

// The settings file holds a folder as bytes. On POSIX they are the path's own bytes. On
// Windows, settings written by an older Windows tool hold it in the system's ANSI code page:
// a stored value that is valid UTF-8 is read as UTF-8 and anything else in that code page,
// and a path is written in the code page when every character survives, else as UTF-8.
std::string PathFromSettings(const std::string& stored);
std::string PathForSettings(const std::string& path);

} // namespace brivane
