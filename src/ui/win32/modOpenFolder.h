#pragma once

#include <string>

namespace brivane::win32 {

// Hands a path, a web address or a "mailto:" link to the shell's default action, unchanged.
void ShellOpen(const std::string& text);

} // namespace brivane::win32
