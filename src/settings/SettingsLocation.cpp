#include "settings/SettingsLocation.h"

#include "platform/FileSystem.h"
#include "platform/UserFolders.h"

namespace brivane {
namespace {

std::string InFolder(const std::string& folder, const std::string& name)
{
    return folder + PathSeparator() + name;
}

bool SameFolder(const std::string& a, const std::string& b)
{
    const auto identity = IdentityOf(a);
    return identity && identity == IdentityOf(b);
}

} // namespace

SettingsLocation LocateSettings(const std::string& executableFolder, const std::string& installedBinaryFolder,
                                const std::string& configurationFolder, const std::string& installMark)
{
    const std::string beside = InFolder(executableFolder, kSettingsFileName);
    const bool marked =
        !installMark.empty() && LookUpPath(InFolder(executableFolder, installMark)).Kind == PathKind::Regular;
    if (LookUpPath(beside, Links::DoNotFollow).Kind != PathKind::Missing ||
        (!marked && !SameFolder(executableFolder, installedBinaryFolder)))
        return {beside, {}, false};

    SettingsLocation location{InFolder(configurationFolder, kSettingsFileName), {}, true};
    if (LookUpPath(configurationFolder).Kind != PathKind::Directory)
        location.FolderToCreate = configurationFolder;
    return location;
}

WindowSettings LocateWindowSettings()
{
    const std::string program = ProgramFolder();
    const UserFolders user = FoldersOfUser();
    const SettingsLocation found = LocateSettings(program, user.InstalledPrograms, user.Configuration, user.InstallMark);
    // A folder that cannot be made shows up as a failed save, with its reason, at the first edit.
    if (!found.FolderToCreate.empty())
        MakeFolders(found.FolderToCreate);
    return {found.File, found.Installed ? user.StartFolder : program};
}

} // namespace brivane
