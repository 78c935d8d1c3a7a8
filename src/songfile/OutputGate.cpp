#include "songfile/OutputGate.h"

#include "platform/FileError.h"
#include "songfile/ImfPaths.h"
#include "songfile/SongFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <variant>


namespace brivane {
namespace {

// What stands at the backup's name: nothing, or the bytes of a regular file. Anything else
// there (a folder, a planted link) is never written through.
std::optional<Bytes> ReadBackup(const std::string& backup)
{
    const PathLookup found = LookUpPath(backup, Links::DoNotFollow);
    if (found.Kind == PathKind::Missing)
        return std::nullopt;
    if (found.Kind == PathKind::Inaccessible)
        throw FileError("could not look up the backup " + backup, found.SystemError);
    if (found.Kind != PathKind::Regular)
        throw FileError("could not write the backup " + backup,
                        std::string("it is ") + KindName(found.Kind) + "; Brivane writes backups only as regular files");
    return ReadWholeFile(backup, "the backup " + backup, Links::DoNotFollow);
}

// The backup is on disk, data and name, before its file is replaced; it carries the file's
// time, as a copy with `cp -p` would.
void WriteBackup(const std::string& path, std::span<const std::uint8_t> bytes)
{
    const std::string backup = BackupPathFor(path);
    ReplaceFile(backup, bytes, "the backup " + backup, {Durability::Flushed, Links::DoNotFollow, path, path});
}

// What the output replaces, when the caller has not read it under its lock already.
Bytes ReadCurrent(const OutputWrite& output)
{
    const FileDescriptor current = OpenForReading(output.Path, output.What);
    if (SizeOf(current, output.What) > kMaxSongFileBytes)
        throw FileError("could not keep a backup of " + output.Path,
                        "it is larger than any song; name another file, or give --no-backup");
    return ReadFileStart(current, kMaxSongFileBytes, output.What);
}

bool AllowedOverAnotherSong(const OutputWrite& output, const std::string& backup, UserInteraction& ui)
{
    const std::string name = DisplayName(output.Path), backupName = DisplayName(backup);
    return ui.Show(UserMessage(backupName + " holds another song than " + name + ", perhaps its only original.\nReplace " +
                                   backupName + " with a copy of " + name + ", and " + name + " with the song of " +
                                   DisplayName(output.For) + "?",
                               "Replace backup?", MessageStyle::Question, output.For)
                       .AsDefaultNo())
               .Answer == UserAnswer::Yes;
}

// A backup the gate wrote, and what stood at its name before, to put back when the output
// itself cannot be written.
struct KeptBackup {
    std::string Path;
    std::optional<Bytes> Earlier;
};

void PutBack(const KeptBackup& kept)
{
    try {
        if (kept.Earlier)
            ReplaceFile(kept.Path, *kept.Earlier, "the backup " + kept.Path, {Durability::Flushed, Links::DoNotFollow, {}, {}});
        else
            RemoveFile(kept.Path, "the backup " + kept.Path);
    } catch (const FileError&) {
        // The output is untouched; a backup left over is a copy of it, never a loss.
    }
}

// Keeps what the output replaces by its rule; nothing when there is nothing to keep, and
// Declined when a No keeps the backup as it is.
std::variant<std::monostate, KeptBackup, OutputResult> KeepBackup(const OutputWrite& output, UserInteraction& ui)
{
    if (output.Backup == BackupRule::None || (!output.Current && LookUpPath(output.Path).Kind != PathKind::Regular))
        return {};
    const std::string backup = BackupPathFor(output.Path);
    // A game file the caller holds may be hundreds of megabytes: it is not copied again.
    Bytes read;
    const Bytes& current = output.Current ? *output.Current : (read = ReadCurrent(output));
    if (output.Backup == BackupRule::KeepFirst) {
        if (KeepFirstOriginal(output.Path, current))
            return KeptBackup{backup, std::nullopt};
        return {};
    }
    KeptBackup kept{backup, ReadBackup(backup)};
    const bool anotherSong = kept.Earlier && !kept.Earlier->empty() && *kept.Earlier != current;
    if (output.Backup == BackupRule::AskOverAnother && anotherSong && !AllowedOverAnotherSong(output, backup, ui))
        return OutputResult::Declined;
    WriteBackup(output.Path, current);
    return kept;
}

// For an output whose backup rule asks nothing: a question would be answered No.
class NothingAsked : public UserInteraction {
public:
    UserReply Show(const UserMessage&) override { return {UserAnswer::No}; }
};

bool IsDeviceName(const std::string& name)
{
    std::string stem = name.substr(0, name.find('.'));
    stem.erase(stem.find_last_not_of(' ') + 1);
    std::transform(stem.begin(), stem.end(), stem.begin(), [](unsigned char c) { return std::toupper(c); });
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL")
        return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' && stem[3] <= '9';
}

} // namespace

void PlaceIndex::Add(const FilePlace& place, std::size_t row)
{
    if (place.File)
        byFile_.try_emplace(*place.File, row);
    if (place.Folder)
        byName_.try_emplace({*place.Folder, place.Name}, row);
}

std::optional<std::size_t> PlaceIndex::Find(const FilePlace& place) const
{
    if (place.File)
        if (const auto found = byFile_.find(*place.File); found != byFile_.end())
            return found->second;
    if (place.Folder)
        if (const auto found = byName_.find({*place.Folder, place.Name}); found != byName_.end())
            return found->second;
    return std::nullopt;
}

bool FilePlace::SameAs(const FilePlace& other) const
{
    if (File && other.File)
        return *File == *other.File;
    return Folder && other.Folder && *Folder == *other.Folder && Name == other.Name;
}

FilePlace PlaceOf(const std::string& path)
{
    return {IdentityOf(path), IdentityOf(FolderOf(path)), NameAsCompared(NameOf(path))};
}

OutputClaims::OutputClaims(const std::vector<std::string>& inputs) : inputs_(inputs) {}

// Looked up at the first output that is not its own input: most batches convert every song in
// place and need none of it.
void OutputClaims::LookUpInputs()
{
    if (!inputPlaces_.empty() || inputs_.empty())
        return;
    inputPlaces_.reserve(inputs_.size());
    for (std::size_t row = 0; row < inputs_.size(); ++row) {
        inputPlaces_.push_back(PlaceOf(inputs_[row]));
        inputIndex_.Add(inputPlaces_.back(), row);
    }
}

std::string OutputClaims::Claim(std::size_t row, const std::string& output)
{
    // A song converted in place claims nothing: looking again could find its number taken by
    // another run's new file, which the system gives the number of one it just replaced.
    if (output == inputs_[row])
        return {};
    LookUpInputs();
    const FilePlace place = PlaceOf(output);
    const FilePlace& own = inputPlaces_[row];
    if (place.SameAs(own))
        return {};
    // A file given twice is one row's input under two numbers, never another's.
    if (const std::optional<std::size_t> input = inputIndex_.Find(place); input && !inputPlaces_[*input].SameAs(own))
        return DisplayName(inputs_[row]) + "'s song would be written over " + DisplayName(inputs_[*input]) +
               ", which is given too; nothing was written.";
    if (const std::optional<std::size_t> earlier = claimIndex_.Find(place); earlier && !inputPlaces_[*earlier].SameAs(own))
        return DisplayName(inputs_[row]) + "'s song would go to " + DisplayName(output) + ", which the song of " +
               DisplayName(inputs_[*earlier]) + " takes; nothing was written.";
    claimIndex_.Add(place, row);
    return {};
}

std::string InputRefusal(const std::string& output, const std::vector<std::string>& inputs)
{
    const FilePlace place = PlaceOf(output);
    for (const std::string& input : inputs)
        if (place.SameAs(PlaceOf(input)))
            return output == input ? "it is the file it is made from"
                                   : "it is " + input + ", the file it is made from, by another name";
    return {};
}

OutputResult WriteOutput(const OutputWrite& output, std::span<const std::uint8_t> bytes,
                         const std::vector<std::string>& inputs, UserInteraction& ui)
{
    if (const std::string refusal = InputRefusal(output.Path, inputs); !refusal.empty())
        throw FileError("could not write " + output.What, refusal);
    const auto backup = KeepBackup(output, ui);
    if (std::holds_alternative<OutputResult>(backup))
        return std::get<OutputResult>(backup);
    try {
        if (output.Held)
            output.Held->Replace(bytes, output.What);
        else
            ReplaceFile(output.Path, bytes, output.What);
    } catch (const FileError&) {
        if (const auto* kept = std::get_if<KeptBackup>(&backup))
            PutBack(*kept);
        throw;
    }
    return OutputResult::Written;
}

OutputResult WriteOutput(const OutputWrite& output, std::span<const std::uint8_t> bytes,
                         const std::vector<std::string>& inputs)
{
    NothingAsked none;
    return WriteOutput(output, bytes, inputs, none);
}

bool KeepFirstOriginal(const std::string& path, std::span<const std::uint8_t> original)
{
    if (LookUpPath(BackupPathFor(path), Links::DoNotFollow).Kind != PathKind::Missing)
        return false;
    WriteBackup(path, original);
    return true;
}

bool IsSafeFileName(const std::string& name)
{
    if (name.empty() || name.front() == '.' || name.back() == '.' || name.back() == ' ')
        return false;
    const bool unusable = std::any_of(name.begin(), name.end(), [](unsigned char c) {
        return c < 0x20 || c == 0x7F || std::strchr("/\\:<>\"|?*", c) != nullptr;
    });
    return !unusable && !IsDeviceName(name);
}

} // namespace brivane
