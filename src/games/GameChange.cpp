#include "games/GameChange.h"

#include "games/GameFile.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "songfile/ImfPaths.h"
#include "songfile/OutputGate.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <sstream>

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
    const std::string what = "the game file " + target;
    WriteOutput({target, what, target, BackupRule::None, lock}, bytes, {});
}

// The target replaced with its staged bytes, and the staged copy then taken away. Done again
// after a crash, it gives the same bytes.
void ReplaceFromStaged(const std::string& target, const std::vector<std::uint8_t>& bytes, FileLock* lock)
{
    ReplaceTarget(target, bytes, lock);
    RemoveFile(Staged(target), "the staged " + Staged(target));
}

// 64-bit FNV-1a: enough to tell a file from the one a record was made for, with no library.
std::string Fingerprint(const std::vector<std::uint8_t>& bytes)
{
    std::uint64_t hash = 0xCBF29CE484222325u;
    for (const std::uint8_t byte : bytes)
        hash = (hash ^ byte) * 0x100000001B3u;
    char text[48];
    std::snprintf(text, sizeof text, "%zu:%016" PRIx64, bytes.size(), hash);
    return text;
}

// One line of a record: a target's name, then its old bytes' fingerprint and its new bytes'.
struct RecordedTarget {
    std::string Name, Old, New;
};

std::vector<RecordedTarget> ReadRecord(const std::string& recordPath)
{
    const std::vector<std::uint8_t> bytes = ReadWholeFile(recordPath, "the record " + recordPath, Links::DoNotFollow);
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    std::vector<RecordedTarget> targets;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        RecordedTarget target;
        std::getline(fields, target.Name, '\t');
        std::getline(fields, target.Old, '\t');
        std::getline(fields, target.New, '\t');
        targets.push_back(target);
    }
    return targets;
}

// Why the recorded change no longer fits the files beside it; nothing when it does.
std::string StaleReason(const std::vector<std::string>& targets, const std::vector<RecordedTarget>& recorded)
{
    for (const std::string& target : targets) {
        const auto line = std::find_if(recorded.begin(), recorded.end(),
                                       [&](const RecordedTarget& r) { return r.Name == NameOf(target); });
        if (line == recorded.end() || line->New.empty())
            return NameOf(target) + " is not in it as this Brivane writes records";
        const std::string now = Exists(target) ? Fingerprint(ReadWholeFile(target, "the game file " + target)) : "";
        if (Exists(Staged(target))) {
            if (Fingerprint(ReadWholeFile(Staged(target), "the staged " + Staged(target), Links::DoNotFollow)) != line->New)
                return "the staged " + NameOf(Staged(target)) + " is not the copy it names";
            if (now != line->Old && now != line->New)
                return NameOf(target) + " has been changed by another program since";
        } else if (now != line->New) {
            return NameOf(target) + " has been changed by another program since";
        }
    }
    return {};
}

void ClearAway(const std::vector<std::string>& targets, const std::string& recordPath)
{
    for (const std::string& target : targets)
        if (Exists(Staged(target)))
            RemoveFile(Staged(target), "the staged " + Staged(target));
    RemoveFile(recordPath, "the record " + recordPath);
}

} // namespace

void ChangeGameFiles(const std::vector<GameFileChange>& files, FileLock& lock)
{
    const std::string recordPath = RecordFor(files.back().Path);
    std::vector<std::string> targets;
    for (const GameFileChange& file : files)
        targets.push_back(file.Path);
    const auto clearAway = [&] { ClearAway(targets, recordPath); };
    std::string record;
    try {
        for (const GameFileChange& file : files) {
            ReplaceFile(Staged(file.Path), file.New, "the staged " + Staged(file.Path),
                        {Durability::Flushed, Links::DoNotFollow, file.Path, {}});
            record += NameOf(file.Path) + "\t" + Fingerprint(file.Old) + "\t" + Fingerprint(file.New) + "\n";
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

std::string FinishGameChange(const std::vector<std::string>& targets, FileLock& lock, bool clearStale)
{
    const std::string recordPath = RecordFor(targets.back());
    if (!Exists(recordPath)) {
        ClearAway(targets, recordPath); // the change never began: its staged copies go
        return {};
    }
    if (const std::string stale = StaleReason(targets, ReadRecord(recordPath)); !stale.empty()) {
        if (!clearStale)
            throw GameFileError("its change record " + NameOf(recordPath) + " is not for the files beside it (" + stale +
                                "): every file was left as it is; restore the game, or remove the record");
        ClearAway(targets, recordPath);
        return "cleared the change record " + NameOf(recordPath) + ", which was not for the files beside it (" + stale +
               ")";
    }
    for (const std::string& target : targets) {
        const std::string staged = Staged(target);
        if (Exists(staged))
            ReplaceFromStaged(target, ReadWholeFile(staged, "the staged " + staged, Links::DoNotFollow),
                              &target == &targets.back() ? &lock : nullptr);
    }
    RemoveFile(recordPath, "the record " + recordPath);
    return "finished the replace of " + NameOf(targets.back()) + " that was interrupted";
}

Originals::~Originals()
{
    if (std::uncaught_exceptions() > exceptions_)
        for (const std::string& backup : made_)
            try {
                RemoveFile(backup, "the backup " + backup);
            } catch (const FileError&) {
                // A copy of the original left beside it loses nothing.
            }
}

void Originals::Keep(const std::string& path, const std::vector<std::uint8_t>& original)
{
    if (KeepFirstOriginal(path, original))
        made_.push_back(BackupPathFor(path));
}

} // namespace brivane
