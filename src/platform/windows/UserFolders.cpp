#include "platform/UserFolders.h"

#include "platform/ApplicationInfo.h"
#include "platform/windows/Win32.h"

#include <objbase.h>
#include <shlobj.h>

namespace brivane {
namespace {

std::string KnownFolder(REFKNOWNFOLDERID id)
{
    wchar_t* path = nullptr;
    std::string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path)))
        folder = win32::Narrow(path);
    ::CoTaskMemFree(path);
    return folder;
}

} // namespace

// The installer puts the program per user, under the user's own Programs folder unless the
// user chooses another, and its uninstaller beside it; the portable zip has none.
UserFolders FoldersOfUser()
{
    const std::string title = kApplicationTitle;
    return {KnownFolder(FOLDERID_LocalAppData) + "\\Programs\\" + title, KnownFolder(FOLDERID_RoamingAppData) + "\\" + title,
            KnownFolder(FOLDERID_Music), "uninstall.exe"};
}

bool MakeFolders(const std::string& path)
{
    const int made = ::SHCreateDirectoryExW(nullptr, win32::Widen(path).c_str(), nullptr);
    return made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS;
}

} // namespace brivane
