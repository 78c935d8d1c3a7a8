#include "settings/KeyPlacement.h"

#include "settings/IniNumbers.h"

#include <algorithm>

namespace brivane {
namespace {

// Small enough that inserting into a block is cheap, large enough that the blocks are few.
constexpr std::size_t kBlockSize = 256;

} // namespace

std::int64_t KeyPlacement::Rank(const Entry& entry)
{
    return entry.Number ? *entry.Number : INT64_MAX;
}

void KeyPlacement::Summarise(Block& block)
{
    block.GreatestName.clear();
    block.GreatestRank = INT64_MIN;
    for (const Entry& entry : block.Entries) {
        block.GreatestName = std::max(block.GreatestName, entry.Key.Name);
        block.GreatestRank = std::max(block.GreatestRank, Rank(entry));
    }
}

void KeyPlacement::Add(std::string name, std::string value)
{
    const std::optional<std::int32_t> number = NumericNameValue(name);
    // The key goes before the first key it is placed before; a block holds none such when its
    // greatest name (or number) does not come after the new one.
    auto block = std::find_if(blocks_.begin(), blocks_.end(), [&](const Block& b) {
        return number ? b.GreatestRank > *number : name < b.GreatestName;
    });
    if (block == blocks_.end()) {
        if (blocks_.empty() || blocks_.back().Entries.size() >= 2 * kBlockSize)
            blocks_.emplace_back();
        block = blocks_.end() - 1;
    }
    auto& entries = block->Entries;
    const auto at = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
        return PlacedBefore(name, number, e.Key.Name, e.Number);
    });
    Entry entry{{std::move(name), std::move(value)}, number};
    block->GreatestRank = std::max(block->GreatestRank, Rank(entry));
    if (block->GreatestName < entry.Key.Name)
        block->GreatestName = entry.Key.Name;
    entries.insert(at, std::move(entry));

    if (entries.size() > 2 * kBlockSize) {
        Block second;
        second.Entries.assign(std::make_move_iterator(entries.begin() + kBlockSize),
                              std::make_move_iterator(entries.end()));
        entries.resize(kBlockSize);
        Summarise(*block);
        Summarise(second);
        blocks_.insert(block + 1, std::move(second));
    }
}

std::vector<INIKey> KeyPlacement::Take()
{
    std::vector<INIKey> keys;
    for (Block& block : blocks_)
        for (Entry& entry : block.Entries)
            keys.push_back(std::move(entry.Key));
    blocks_.clear();
    return keys;
}

} // namespace brivane
