#include "ui/win32/modOpenFolder.h"

#include "platform/windows/WideText.h"

#include <windows.h>
#include <shellapi.h>

namespace brivane::win32 {

void ShellOpen(const std::string& text)
{
    ::ShellExecuteW(nullptr, nullptr, Widen(text).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace brivane::win32
