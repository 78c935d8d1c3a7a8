#include "conversion/ConvertCommand.h"

#include "platform/FileSystem.h"
#include "platform/TemporaryFile.h"

#include <set>

namespace brivane {

std::vector<ConversionOutcome> ConvertFiles(const std::vector<std::string>& paths, float ticScale,
                                            const std::function<bool()>& makeBackups,
                                            UserInteraction& ui)
{
    // What a killed run left behind goes once per folder, before any song of it is written.
    std::set<std::string> folders;
    for (const std::string& path : paths)
        if (folders.insert(FolderOf(path)).second)
            RemoveStaleTemporaryFiles(FolderOf(path));

    std::vector<ConversionOutcome> outcomes;
    outcomes.reserve(paths.size());
    for (const std::string& path : paths)
        outcomes.push_back(ConvertImf(path, ticScale, makeBackups(), ui));
    ui.ShowMessage("Conversion complete!", "Complete", MB_ICONINFORMATION);
    return outcomes;
}

} // namespace brivane
