#include "settings/SettingsLocation.h"

#include <filesystem>

namespace brivane {
namespace {

namespace fs = std::filesystem;

bool SameFolder(const std::string& a, const std::string& b)
{
    std::error_code error;
    const bool same = fs::equivalent(a, b, error);
    return !error && same;
}

} // namespace

SettingsLocation LocateSettings(const std::string& executableFolder, const std::string& installedBinaryFolder,
                                const std::string& configurationFolder)
{
    const std::string beside = executableFolder + "/" + kSettingsFileName;
    std::error_code error;
    if (fs::exists(fs::symlink_status(beside, error)) || !SameFolder(executableFolder, installedBinaryFolder))
        return {beside, {}, false};

    SettingsLocation location{configurationFolder + "/" + kSettingsFileName, {}, true};
    if (!fs::is_directory(configurationFolder, error))
        location.FolderToCreate = configurationFolder;
    return location;
}

} // namespace brivane
