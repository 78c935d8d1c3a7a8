#include "platform/StoredPaths.h"

#include "platform/windows/Win32.h"

namespace brivane {

std::string PathFromSettings(const std::string& stored)
{
    if (stored.empty() || ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, stored.data(),
                                                static_cast<int>(stored.size()), nullptr, 0) > 0)
        return stored;
    const int size = ::MultiByteToWideChar(CP_ACP, 0, stored.data(), static_cast<int>(stored.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, stored.data(), static_cast<int>(stored.size()), wide.data(), size);
    return win32::Narrow(wide);
}

std::string PathForSettings(const std::string& path)
{
    const std::wstring wide = win32::Widen(path);
    if (wide.empty())
        return path;
    BOOL lost = FALSE;
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, &lost);
    if (lost || size <= 0)
        return path;
    std::string ansi(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), ansi.data(),
                          size, nullptr, nullptr);
    return ansi;
}

} // namespace brivane
