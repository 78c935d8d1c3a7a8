#pragma once

#include "conversion/ConvertImf.h"

#include <functional>
#include <string>
#include <vector>

namespace brivane {

// The batch behind the Convert command: each path in the order given, with the Make
// Backups option read afresh for each file, then "Conversion complete!" whatever happened.
std::vector<ConversionOutcome> ConvertFiles(const std::vector<std::string>& paths, float ticScale,
                                            const std::function<bool()>& makeBackups,
                                            UserInteraction& ui);

} // namespace brivane
