#include "games/GameChange.h"

#include "platform/FileSystem.h"

#include <algorithm>

namespace brivane {
namespace {

std::string Staged(const std::string& target)
{
    return target + ".new";
}

std::string RecordFor(const std::string& lastTarget)
{
    return lastTarget + ".change";
}

bool Exists(const std::string& path)
{
    return LookUpPath(path, Links::DoNotFollow).Kind == PathKind::Regular;
}

// Replacing from a staged copy may be done again after a crash: it gives the same bytes.
void ReplaceFromStaged(const std::string& target, FileLock* lock)
{
    if (!Exists(Staged(target)))
        return;
    const std::vector<std::uint8_t> bytes = ReadWholeFile(Staged(target), "the staged " + Staged(target), Links::DoNotFollow);
    if (lock)
        lock->Replace(bytes, "the game file " + target);
    else
        ReplaceFile(target, bytes, "the game file " + target);
    RemoveFile(Staged(target), "the staged " + Staged(target));
}

} // namespace

void ChangeGameFiles(const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& files, FileLock& lock)
{
    const std::string recordPath = RecordFor(files.back().first);
    std::string record;
    for (const auto& [target, bytes] : files) {
        ReplaceFile(Staged(target), bytes, "the staged " + Staged(target), {Durability::Flushed, Links::DoNotFollow, target, {}});
        record += NameOf(target) + "\n";
    }
    ReplaceFile(recordPath, std::vector<std::uint8_t>(record.begin(), record.end()), "the record " + recordPath,
                {Durability::Flushed, Links::DoNotFollow, {}, {}});
    for (std::size_t i = 0; i < files.size(); ++i)
        ReplaceFromStaged(files[i].first, i + 1 == files.size() ? &lock : nullptr);
    RemoveFile(recordPath, "the record " + recordPath);
}

bool ChangeLeft(const std::vector<std::string>& targets)
{
    return Exists(RecordFor(targets.back())) ||
           std::any_of(targets.begin(), targets.end(), [](const std::string& target) { return Exists(Staged(target)); });
}

void FinishGameChange(const std::vector<std::string>& targets, FileLock& lock)
{
    const std::string recordPath = RecordFor(targets.back());
    const bool recorded = Exists(recordPath);
    for (const std::string& target : targets) {
        if (recorded)
            ReplaceFromStaged(target, &target == &targets.back() ? &lock : nullptr);
        else if (Exists(Staged(target)))
            RemoveFile(Staged(target), "the staged " + Staged(target)); // the change never began
    }
    if (recorded)
        RemoveFile(recordPath, "the record " + recordPath);
}

} // namespace brivane
