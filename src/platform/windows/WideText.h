#pragma once

#include <string>

namespace brivane::win32 {

// Text is UTF-8 inside Brivane; Windows' wide calls take UTF-16. Windows-only front ends
// convert at their edge with these too.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

} // namespace brivane::win32
