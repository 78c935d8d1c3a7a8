#pragma once

#include "settings/clsINI.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

#include <string>
#include <vector>

namespace brivane::test {

// Key names of a section, in document order.
inline std::vector<std::string> KeyNames(const INISection& section)
{
    std::vector<std::string> names;
    for (const auto& key : section.Keys)
        names.push_back(key.Name);
    return names;
}

} // namespace brivane::test
