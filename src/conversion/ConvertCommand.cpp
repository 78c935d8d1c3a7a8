#include "conversion/ConvertCommand.h"

namespace brivane {

std::vector<ConversionOutcome> ConvertFiles(const std::vector<std::string>& paths, float ticScale,
                                            const std::function<bool()>& makeBackups,
                                            UserInteraction& ui)
{
    std::vector<ConversionOutcome> outcomes;
    outcomes.reserve(paths.size());
    for (const std::string& path : paths)
        outcomes.push_back(ConvertImf(path, ticScale, makeBackups(), ui));
    ui.ShowMessage("Conversion complete!", "Complete", MB_ICONINFORMATION);
    return outcomes;
}

} // namespace brivane
