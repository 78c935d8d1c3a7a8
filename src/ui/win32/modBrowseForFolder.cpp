#include "ui/win32/modBrowseForFolder.h"

#include "platform/windows/WideText.h"

#include <shlobj.h>
#include <vector>

namespace brivane::win32 {
namespace {

// The folder to select travels in the callback's own parameter rather than in a global.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM initialFolder)
{
    const auto* folder = reinterpret_cast<const std::wstring*>(initialFolder);
    if (message == BFFM_INITIALIZED && !folder->empty())
        ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder->c_str()));
    return 0;
}

} // namespace

std::string BrowseForFolder(const std::string& initialFolder, HWND owner, const std::string& title)
{
    const std::wstring folder = Widen(initialFolder);
    const std::wstring heading = Widen(title);
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = heading.empty() ? nullptr : heading.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&folder);
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info);
    if (!chosen)
        return {};
    // Room for a long path, not only the classic 260 characters.
    std::vector<wchar_t> path(32768, L'\0');
    const bool found = ::SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
    ::CoTaskMemFree(chosen);
    return found ? Narrow(path.data()) : std::string();
}

} // namespace brivane::win32
