#include "songfile/OutputGate.h"

#include "platform/FileError.h"
#include "songfile/ImfPaths.h"
#include "songfile/SongFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>


namespace brivane {
namespace {

// What stands at the backup's name, when it is a song other than the one about to be kept
// there, or something that is no backup at all (a folder, a planted link: never written).
enum class EarlierBackup { None, SameSong, AnotherSong };

EarlierBackup LookAtBackup(const std::string& backup, std::span<const std::uint8_t> keeping)
{
    const PathLookup found = LookUpPath(backup, Links::DoNotFollow);
    if (found.Kind == PathKind::Missing)
        return EarlierBackup::None;
    if (found.Kind == PathKind::Inaccessible)
        throw FileError("could not look up the backup " + backup, found.SystemError);
    if (found.Kind != PathKind::Regular)
        throw FileError("could not write the backup " + backup,
                        std::string("it is ") + KindName(found.Kind) + "; Brivane writes backups only as regular files");
    const Bytes saved = ReadWholeFile(backup, "the backup " + backup, Links::DoNotFollow);
    if (saved.empty() || std::equal(saved.begin(), saved.end(), keeping.begin(), keeping.end()))
        return saved.empty() ? EarlierBackup::None : EarlierBackup::SameSong;
    return EarlierBackup::AnotherSong;
}

// For an output written without a backup, which asks nothing.
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
    if (output.KeepBackup && LookUpPath(output.Path).Kind == PathKind::Regular) {
        const FileDescriptor current = OpenForReading(output.Path, output.What);
        if (SizeOf(current, output.What) > kMaxSongFileBytes)
            throw FileError("could not keep a backup of " + output.Path,
                            "it is larger than any song; name another file, or give --no-backup");
        const Bytes kept = ReadFileStart(current, kMaxSongFileBytes, output.What);
        const std::string backup = BackupPathFor(output.Path);
        if (LookAtBackup(backup, kept) == EarlierBackup::AnotherSong &&
            ui.Show(UserMessage(DisplayName(backup) + " holds another song than " + DisplayName(output.Path) +
                                    ", perhaps its only original.\nReplace " + DisplayName(backup) + " with a copy of " +
                                    DisplayName(output.Path) + ", and " + DisplayName(output.Path) + " with the song of " +
                                    DisplayName(output.For) + "?",
                                "Replace backup?", MessageStyle::Question, output.For)
                        .AsDefaultNo())
                    .Answer != UserAnswer::Yes)
            return OutputResult::Declined;
        ReplaceFile(backup, kept, "the backup " + backup,
                    {Durability::Flushed, Links::DoNotFollow, output.Path, output.Path});
    }
    ReplaceFile(output.Path, bytes, output.What);
    return OutputResult::Written;
}

OutputResult WriteOutput(const OutputWrite& output, std::span<const std::uint8_t> bytes,
                         const std::vector<std::string>& inputs)
{
    NothingAsked none;
    OutputWrite plain = output;
    plain.KeepBackup = false;
    return WriteOutput(plain, bytes, inputs, none);
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
