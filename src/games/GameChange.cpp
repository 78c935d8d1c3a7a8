#include "games/GameChange.h"

#include "platform/FileError.h"
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

// The target replaced with `bytes`: through `lock` when it holds the target, so that the
// lock passes to the new file.
void ReplaceTarget(const std::string& target, const std::vector<std::uint8_t>& bytes, FileLock* lock)
{
    if (lock)
        lock->Replace(bytes, "the game file " + target);
    else
        ReplaceFile(target, bytes, "the game file " + target);
}

// The target replaced with its staged bytes, and the staged copy then taken away. Done again
// after a crash, it gives the same bytes.
void ReplaceFromStaged(const std::string& target, const std::vector<std::uint8_t>& bytes, FileLock* lock)
{
    ReplaceTarget(target, bytes, lock);
    RemoveFile(Staged(target), "the staged " + Staged(target));
}

} // namespace

void ChangeGameFiles(const std::vector<GameFileChange>& files, FileLock& lock)
{
    const std::string recordPath = RecordFor(files.back().Path);
    const auto clearAway = [&] {
        for (const GameFileChange& file : files)
            if (Exists(Staged(file.Path)))
                RemoveFile(Staged(file.Path), "the staged " + Staged(file.Path));
        RemoveFile(recordPath, "the record " + recordPath);
    };
    std::string record;
    try {
        for (const GameFileChange& file : files) {
            ReplaceFile(Staged(file.Path), file.New, "the staged " + Staged(file.Path),
                        {Durability::Flushed, Links::DoNotFollow, file.Path, {}});
            record += NameOf(file.Path) + "\n";
        }
        ReplaceFile(recordPath, std::vector<std::uint8_t>(record.begin(), record.end()), "the record " + recordPath,
                    {Durability::Flushed, Links::DoNotFollow, {}, {}});
    } catch (const FileError&) {
        clearAway(); // the change never began
        throw;
    }
    std::size_t replaced = 0;
    try {
        for (; replaced < files.size(); ++replaced) {
            const std::size_t i = files.size() - 1 - replaced;
            ReplaceFromStaged(files[i].Path, files[i].New, i + 1 == files.size() ? &lock : nullptr);
        }
        RemoveFile(recordPath, "the record " + recordPath);
    } catch (const FileError&) {
        // Put back what was replaced; should that fail too, the record stays for the next
        // command to finish the change.
        for (std::size_t done = 0; done < replaced; ++done) {
            const GameFileChange& file = files[files.size() - 1 - done];
            ReplaceTarget(file.Path, file.Old, done == 0 ? &lock : nullptr);
        }
        clearAway();
        throw;
    }
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
        const std::string staged = Staged(target);
        if (!Exists(staged))
            continue;
        if (recorded)
            ReplaceFromStaged(target, ReadWholeFile(staged, "the staged " + staged, Links::DoNotFollow),
                              &target == &targets.back() ? &lock : nullptr);
        else
            RemoveFile(staged, "the staged " + staged); // the change never began
    }
    if (recorded)
        RemoveFile(recordPath, "the record " + recordPath);
}

} // namespace brivane
