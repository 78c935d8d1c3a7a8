#pragma once

#include "settings/clsINI.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brivane {

// The insertion rule's test: whether a new key goes before an existing one. A numeric name
// goes before a non-numeric name or a greater number; any other name before a name that
// comes after it in ordinal order.
inline bool PlacedBefore(const std::string& newName, std::optional<std::int32_t> newNumber,
                         const std::string& oldName, std::optional<std::int32_t> oldNumber)
{
    if (newNumber)
        return !oldNumber || *newNumber < *oldNumber;
    return newName < oldName;
}

// Places the keys of one section by the insertion rule, as AddKey does one at a time, but fast
// for the hundreds of thousands of keys a large settings file can hold: the keys are kept in
// blocks that know their greatest name and greatest number, so a key's place is found by
// passing over whole blocks that cannot hold it.
class KeyPlacement {
public:
    void Add(std::string name, std::string value);
    // The keys in their order; the placement is empty afterwards.
    std::vector<INIKey> Take();

private:
    struct Entry {
        INIKey Key;
        std::optional<std::int32_t> Number;
    };
    struct Block {
        std::vector<Entry> Entries;
        std::string GreatestName;
        std::int64_t GreatestRank = INT64_MIN; // a non-numeric name ranks above every number
    };

    static std::int64_t Rank(const Entry& entry);
    static void Summarise(Block& block);

    std::vector<Block> blocks_;
};

} // namespace brivane
