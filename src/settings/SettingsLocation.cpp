#include "settings/SettingsLocation.h"

#include "platform/FileSystem.h"

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
                                const std::string& configurationFolder)
{
    const std::string beside = InFolder(executableFolder, kSettingsFileName);
    if (LookUpPath(beside, Links::DoNotFollow).Kind != PathKind::Missing ||
        !SameFolder(executableFolder, installedBinaryFolder))
        return {beside, {}, false};

    SettingsLocation location{InFolder(configurationFolder, kSettingsFileName), {}, true};
    if (LookUpPath(configurationFolder).Kind != PathKind::Directory)
        location.FolderToCreate = configurationFolder;
    return location;
}

} // namespace brivane
