#include "conversion/ConvertImf.h"

#include "conversion/ConvertCapture.h"
#include "opl/ImfCommand.h"
#include "songfile/ImfPaths.h"
#include "songfile/OutputGate.h"
#include "opl/ImfType.h"
#include "conversion/PrintableText.h"
#include "platform/FileError.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "songfile/SongFile.h"

#include <algorithm>

namespace brivane {
namespace {

// Long enough for another run to finish a song, short enough that a batch stuck behind a
// hung one still ends.
constexpr std::chrono::seconds kLockTimeout{10};

void Tell(UserInteraction& ui, const std::string& path, const std::string& text, const std::string& title,
          MessageStyle style)
{
    ui.Show({text, title, style, path});
}

ConversionOutcome ReportFailure(const std::string& path, const std::string& reason, UserInteraction& ui)
{
    Tell(ui, path, "Could not convert " + Printable(path) + ": " + Printable(reason), "Conversion failed", MessageStyle::Error);
    return ConversionOutcome::Failed;
}

ConversionOutcome ReportUnreadable(const std::string& path, const std::string& reason, UserInteraction& ui,
                                   int systemError = 0)
{
    const bool held = IsHeldByAnotherProgram(systemError);
    Tell(ui, path, "Could not read " + Printable(path) + ": " + Printable(reason), held ? "File in use" : "File not readable",
         MessageStyle::Error);
    return held ? ConversionOutcome::InUse : ConversionOutcome::Unreadable;
}

// The song's bytes are all read before anything is written: backup, then the new content.
ConversionOutcome ConvertSong(const std::string& path, FileLock& lock, const Bytes& original, ImfType layout,
                              const Conversion& conversion, bool makeBackups, UserInteraction& ui)
{
    const std::optional<Bytes> converted = ConvertSongBytes(original, layout, conversion);
    if (!converted) {
        Tell(ui, path, "Could not convert " + Printable(path) + ": it is longer than 65535 bytes, the most the " +
                           conversion.Target.Name + " layout can hold.",
             "File too long", MessageStyle::Error);
        return ConversionOutcome::TooLong;
    }

    try {
        // A song the user made read-only is refused before its backup is touched.
        EnsureWritable(path, "the converted file");
        // Whatever the backup held was looked at when the conversion was decided.
        const OutputWrite write{path, "the converted file", path, makeBackups ? BackupRule::Settled : BackupRule::None,
                                &lock, &original};
        WriteOutput(write, *converted, {}, ui);
    } catch (const FileError& error) {
        return ReportFailure(path, error.what(), ui);
    }
    return ConversionOutcome::Converted;
}

// "already compatible with Wolfenstein 3D.", the classic message, keeps the spelling its users
// and their scripts know; every other text writes the game's name as its makers did.
std::string CompatibleName(const ConversionTarget& target)
{
    return target.Name == "Wolfenstein 3-D" ? "Wolfenstein 3D" : target.Name;
}

// A backup worth keeping: a song of its own, in the layout its first word gives it.
bool HoldsSong(const Bytes& saved)
{
    return !saved.empty() && LengthWordOverrun(saved) == 0 &&
           HoldsWholeRecord(saved, LayoutOfBytes(saved) == ImfHeaderless);
}

// Why a backup cannot be restored, or nothing when it can: restoring an empty file, one of
// no whole record or a song that is itself already compatible would lose what the song holds.
std::string UnusableBackup(const Bytes& saved, const Conversion& conversion)
{
    if (saved.empty())
        return "it is empty";
    const ImfType layout = LayoutOfBytes(saved);
    if (!HoldsSong(saved))
        return "it holds no whole record";
    if (conversion.AlreadyThere(layout))
        return "it is already compatible with " + CompatibleName(conversion.Target) + " itself";
    return {};
}

std::size_t RecordsOf(const Bytes& song)
{
    return SplitSong(song, LayoutOfBytes(song) == ImfHeaderless).Records.size() / kImfCommandSize;
}

// One line before the question when the backup cannot be what this song was made from: every
// conversion keeps a song's records, whatever its layout's length word adds.
std::string SizeWarning(const Bytes& saved, const Bytes& song)
{
    const std::size_t had = RecordsOf(saved), has = RecordsOf(song);
    if (had == has)
        return {};
    return "The backup holds " + std::to_string(had) + " records, but this song holds " + std::to_string(has) +
           ": it may be the backup of another song.\n";
}

const char* const kRevertQuestion = "Do you wish to revert to your backup copy and reconvert it?";

// What a look at the file found: a song in a layout, with what stands at its backup's name,
// or an outcome already told to the user.
struct Classified {
    std::optional<ConversionOutcome> Done;
    Bytes Song;
    ImfType Layout = ImfHeaderless;
    std::optional<Bytes> Backup; // only ever a regular file: a link at its name is never followed
};

Classified Told(ConversionOutcome outcome)
{
    return {outcome, {}, ImfHeaderless, std::nullopt};
}

// The song read through the door under the lock, its layout settled (the user asked where its
// length word cannot be one), its backup read.
Classified Classify(const std::string& path, const FileLock& lock, const Conversion& conversion, bool makeBackups,
                    UserInteraction& ui)
{
    const std::string name = Printable(DisplayName(path));
    const ImfProbe probe = ProbeImf(path);
    if (probe.Type == ImfNotFound && probe.Reason.empty()) {
        Tell(ui, path, "Could not find " + Printable(path) + "!", "File not found", MessageStyle::Error);
        return Told(ConversionOutcome::NotFound);
    }
    // A directory or a FIFO is there, just not as a song.
    if (probe.Type == ImfNotFound || probe.Type == ImfUnreadable)
        return Told(ReportUnreadable(path, probe.Reason, ui, probe.SystemError));
    // A song that could not be opened to lock it is one this run cannot read either.
    if (lock.Status() != FileLock::State::Held)
        return Told(ReportUnreadable(path, lock.Error() ? SystemReason(lock.Error()) : "it is no longer a regular file", ui,
                                     lock.Error()));
    SongFile file;
    try {
        file = ReadSongFile(lock.File(), "the file", conversion.Midi);
    } catch (const FileError& error) {
        return Told(ReportFailure(path, error.what(), ui));
    }
    // An empty song has no records and no length to write; leaving it alone loses nothing.
    if (file.Size == 0) {
        Tell(ui, path, name + " is empty; there is nothing to convert.", "Empty file", MessageStyle::Information);
        return Told(ConversionOutcome::Empty);
    }
    switch (file.Kind) {
    case SongFileKind::Timed: // read, never rewritten: its song goes to a file of its own
        return Told(ConvertCapture(path, *file.Timed, conversion, makeBackups, ui));
    case SongFileKind::Damaged:
        return Told(ReportUnreadable(path, file.Reason, ui));
    case SongFileKind::OtherKind: // whatever layout the user names
        Tell(ui, path, NotASongText(name, file.Name), "Not an IMF song", MessageStyle::Error);
        return Told(ConversionOutcome::NotASong);
    case SongFileKind::ImfSong:
        break;
    }
    Classified song{std::nullopt, std::move(file.Bytes), conversion.From.value_or(probe.Type), std::nullopt};
    const std::size_t overrun = LengthWordOverrun(song.Song);
    if (!conversion.From && song.Layout == ImfLengthWord && overrun > 0 && HoldsWholeRecord(song.Song, true)) {
        const UserReply reply =
            ui.Show({name + ": its length word counts " + std::to_string(overrun) +
                         " bytes more than the file holds: perhaps a headerless song without its leading 00 00 "
                         "record.\nConvert " + name + " as a headerless song?",
                     "Headerless song?", MessageStyle::Question, path});
        if (reply.Answer != UserAnswer::Yes)
            return Told(ConversionOutcome::LengthPastEnd);
        song.Layout = ImfHeaderless;
    }
    // Converting a song of no whole record would only make another that reads differently.
    if (!HoldsWholeRecord(song.Song, song.Layout == ImfHeaderless)) {
        Tell(ui, path, name + " holds no whole record; nothing to convert.", "No whole record", MessageStyle::Information);
        return Told(ConversionOutcome::NoRecords);
    }
    const std::string backup = BackupPathFor(path);
    try {
        if (LookUpPath(backup, Links::DoNotFollow).Kind == PathKind::Regular)
            song.Backup = ReadWholeFile(backup, "the backup " + backup, Links::DoNotFollow);
    } catch (const FileError& error) {
        return Told(ReportFailure(path, error.what(), ui));
    }
    return song;
}

enum class Step { Convert, Revert, Done };
struct Decision {
    Step Next;
    ConversionOutcome Outcome = ConversionOutcome::Converted;
};

// Convert, revert to the backup first, or leave the song: asked where the backup may be the
// only copy of the original. `reverted` says this song is a backup just put back.
Decision Decide(const std::string& path, const Classified& song, const Conversion& conversion, bool makeBackups,
                bool reverted, UserInteraction& ui)
{
    const std::string name = Printable(DisplayName(path));
    const std::string backupName = Printable(DisplayName(BackupPathFor(path)));
    const Bytes* saved = song.Backup ? &*song.Backup : nullptr;
    const auto answered = [&](const std::string& text) {
        const UserReply reply = ui.Show({text + kRevertQuestion, "Reconvert?", MessageStyle::Question, path});
        return reply.Answer == UserAnswer::Yes ? Decision{Step::Revert} : Decision{Step::Done, ConversionOutcome::Declined};
    };
    if (!conversion.AlreadyThere(song.Layout)) {
        // A song of the target's own layout cannot be told from its original by its bytes: a
        // backup holding another song may be the only copy of the original, and is never
        // written over without a Yes.
        if (!makeBackups || !saved || *saved == song.Song || !HoldsSong(*saved))
            return {Step::Convert};
        return answered(name + " may have been converted before: its backup " + backupName + " holds another song.\n" +
                        SizeWarning(*saved, song.Song));
    }
    const std::string compatible = name + " is already compatible with " + CompatibleName(conversion.Target) + ".";
    if (reverted) {
        Tell(ui, path, "Restored " + name + " from its backup " + backupName + ", which " + compatible.substr(name.size() + 1),
             "Restored", MessageStyle::Information);
        return {Step::Done, ConversionOutcome::Restored};
    }
    if (!saved) {
        Tell(ui, path, compatible, "Already compatible", MessageStyle::Information);
        return {Step::Done, ConversionOutcome::AlreadyCompatible};
    }
    if (const std::string unusable = UnusableBackup(*saved, conversion); !unusable.empty()) {
        Tell(ui, path, compatible + "\nIts backup " + backupName + " cannot be restored: " + unusable + ".",
             "Already compatible", MessageStyle::Information);
        return {Step::Done, ConversionOutcome::AlreadyCompatible};
    }
    return answered(compatible + "\n" + SizeWarning(*saved, song.Song));
}

} // namespace

bool IsSuccess(ConversionOutcome outcome)
{
    switch (outcome) {
    case ConversionOutcome::Converted:
    case ConversionOutcome::Restored:
    case ConversionOutcome::AlreadyCompatible:
    case ConversionOutcome::Declined:
    case ConversionOutcome::Empty:
    case ConversionOutcome::NoRecords:
    case ConversionOutcome::BackupOfAnother:
        return true;
    default:
        return false;
    }
}

std::string CountOutcomes(const std::vector<ConversionOutcome>& outcomes)
{
    static constexpr std::pair<ConversionOutcome, const char*> kNames[] = {
        {ConversionOutcome::Converted, "converted"},
        {ConversionOutcome::Restored, "restored"},
        {ConversionOutcome::AlreadyCompatible, "already compatible"},
        {ConversionOutcome::Declined, "not reverted"},
        {ConversionOutcome::Empty, "empty"},
        {ConversionOutcome::NoRecords, "holding no whole record"},
        {ConversionOutcome::BackupOfAnother, "left alone as a backup"},
        {ConversionOutcome::LengthPastEnd, "with a length word past the end"},
        {ConversionOutcome::NotASong, "not IMF songs"},
        {ConversionOutcome::SongExists, "whose song exists already"},
        {ConversionOutcome::OutputTaken, "whose song would go where another file's is"},
        {ConversionOutcome::NotFound, "not found"},
        {ConversionOutcome::Unreadable, "not readable"},
        {ConversionOutcome::InUse, "in use by another program"},
        {ConversionOutcome::TooLong, "too long"},
        {ConversionOutcome::Failed, "failed"},
        {ConversionOutcome::Busy, "skipped while busy"},
    };
    std::string counts;
    for (const auto& [outcome, name] : kNames) {
        const auto count = std::count(outcomes.begin(), outcomes.end(), outcome);
        if (count > 0)
            counts += (counts.empty() ? "" : ", ") + CountText(static_cast<std::size_t>(count), name);
    }
    return counts;
}

std::string CountText(std::size_t count, const std::string& counted)
{
    if (count == 1 && counted == "not IMF songs")
        return "1 not an IMF song";
    return std::to_string(count) + " " + counted;
}

ConversionOutcome ConvertImf(const std::string& path, const Conversion& conversion, bool makeBackups,
                             UserInteraction& ui)
{
    // Held from the first look at the song to its last write, so that a second run waits and
    // then finds this run's result instead of converting the song again.
    FileLock lock = FileLock::Acquire(path, kLockTimeout);
    if (lock.Status() == FileLock::State::Busy) {
        Tell(ui, path, Printable(path) + " is being converted by another Brivane; skipped.", "File busy", MessageStyle::Error);
        return ConversionOutcome::Busy;
    }
    // Entered again only after a revert: the restored file is classified afresh.
    for (bool reverted = false;; reverted = true) {
        const Classified song = Classify(path, lock, conversion, makeBackups, ui);
        if (song.Done)
            return *song.Done;
        const Decision decision = Decide(path, song, conversion, makeBackups, reverted, ui);
        if (decision.Next == Step::Done)
            return decision.Outcome;
        if (decision.Next == Step::Convert)
            return ConvertSong(path, lock, song.Song, song.Layout, conversion, makeBackups, ui);
        // What is restored is what the question was about, even if the backup changed since.
        try {
            WriteOutput({path, "the file from its backup", path, BackupRule::None, &lock}, *song.Backup, {});
        } catch (const FileError& error) {
            return ReportFailure(path, error.what(), ui);
        }
    }
}

} // namespace brivane
