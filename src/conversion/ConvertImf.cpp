#include "conversion/ConvertImf.h"

#include "conversion/ConvertCapture.h"
#include "opl/ImfCommand.h"
#include "songfile/ImfPaths.h"
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
          int style)
{
    ui.Show({text, title, style, path});
}

ConversionOutcome ReportFailure(const std::string& path, const std::string& reason, UserInteraction& ui)
{
    Tell(ui, path, "Could not convert " + Printable(path) + ": " + Printable(reason), "Conversion failed", MB_ICONHAND);
    return ConversionOutcome::Failed;
}

ConversionOutcome ReportUnreadable(const std::string& path, const std::string& reason, UserInteraction& ui)
{
    Tell(ui, path, "Could not read " + Printable(path) + ": " + Printable(reason), "File not readable", MB_ICONHAND);
    return ConversionOutcome::Unreadable;
}

// A backup is only ever written as a regular file of its own; anything else at its path
// (a planted link above all) is left alone, and so is the song.
std::string BackupRefusal(const std::string& backup)
{
    const PathLookup found = LookUpPath(backup, Links::DoNotFollow);
    if (found.Kind == PathKind::Missing || found.Kind == PathKind::Regular)
        return {};
    if (found.Kind == PathKind::Inaccessible)
        return "could not look up the backup " + backup + ": " + SystemReason(found.SystemError);
    return std::string("its backup ") + backup + " is " + KindName(found.Kind) +
           "; Brivane writes backups only as regular files.";
}

// What stood at the backup's name before this conversion wrote it (nothing when there was no
// backup), so that a song that then cannot be replaced leaves both files as they were.
using EarlierBackup = std::optional<Bytes>;

void PutBackupBack(const std::string& backup, const EarlierBackup& earlier)
{
    try {
        if (earlier)
            ReplaceFile(backup, *earlier, "the backup " + backup, {Durability::Flushed, Links::DoNotFollow, {}, {}});
        else
            RemoveFile(backup, "the backup " + backup);
    } catch (const FileError&) {
        // The song itself is untouched; a backup left over is a copy of it, never a loss.
    }
}

// The song's bytes are all read before anything is written: backup, then the new content.
ConversionOutcome ConvertSong(const std::string& path, FileLock& lock, const Bytes& original, ImfType layout,
                              const Conversion& conversion, bool makeBackups, const EarlierBackup& earlier,
                              UserInteraction& ui)
{
    const std::optional<Bytes> converted = ConvertSongBytes(original, layout, conversion);
    if (!converted) {
        Tell(ui, path, "Could not convert " + Printable(path) + ": it is longer than 65535 bytes, the most the " +
                           conversion.Target.Name + " layout can hold.",
             "File too long", MB_ICONHAND);
        return ConversionOutcome::TooLong;
    }

    const std::string backup = BackupPathFor(path);
    if (makeBackups) {
        if (const std::string refusal = BackupRefusal(backup); !refusal.empty())
            return ReportFailure(path, refusal, ui);
    }

    try {
        // A song the user made read-only is refused before its backup is touched.
        EnsureWritable(path, "the converted file");
    } catch (const FileError& error) {
        return ReportFailure(path, error.what(), ui);
    }
    try {
        // The backup is on disk, data and name, before the song is replaced; it carries the
        // song's time as a copy with `cp -p` would.
        if (makeBackups)
            ReplaceFile(backup, original, "the backup " + backup,
                        {Durability::Flushed, Links::DoNotFollow, path, path});
    } catch (const FileError& error) {
        return ReportFailure(path, error.what(), ui);
    }
    try {
        lock.Replace(*converted, "the converted file");
    } catch (const FileError& error) {
        if (makeBackups)
            PutBackupBack(backup, earlier);
        return ReportFailure(path, error.what(), ui);
    }
    return ConversionOutcome::Converted;
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
        return "it is already compatible with " + conversion.Target.Name + " itself";
    return {};
}

// One line before the question when the backup cannot be what this song was made from.
std::string SizeWarning(const Bytes& saved, std::uint64_t songSize, const Conversion& conversion)
{
    const std::optional<Bytes> converted = ConvertSongBytes(saved, LayoutOfBytes(saved), conversion);
    if (!converted || converted->size() == songSize)
        return {};
    const auto expected = static_cast<long long>(saved.size() + songSize) - static_cast<long long>(converted->size());
    return "The backup holds " + std::to_string(saved.size()) + " bytes, but this song was converted from " +
           std::to_string(std::max(expected, 0LL)) + " bytes: it may be the backup of another song.\r\n";
}

const char* const kRevertQuestion = "Do you wish to revert to your backup copy and reconvert it?";

} // namespace

bool IsSuccess(ConversionOutcome outcome)
{
    switch (outcome) {
    case ConversionOutcome::Converted:
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
        {ConversionOutcome::TooLong, "too long"},
        {ConversionOutcome::Failed, "failed"},
        {ConversionOutcome::Busy, "skipped while busy"},
    };
    std::string counts;
    for (const auto& [outcome, name] : kNames) {
        const auto count = std::count(outcomes.begin(), outcomes.end(), outcome);
        if (count > 0)
            counts += (counts.empty() ? "" : ", ") + std::to_string(count) + " " + name;
    }
    return counts;
}

ConversionOutcome ConvertImf(const std::string& path, const Conversion& conversion, bool makeBackups,
                             UserInteraction& ui)
{
    // Held from the first look at the song to its last write, so that a second run waits and
    // then finds this run's result instead of converting the song again.
    FileLock lock = FileLock::Acquire(path, kLockTimeout);
    if (lock.Status() == FileLock::State::Busy) {
        Tell(ui, path, Printable(path) + " is being converted by another Brivane; skipped.", "File busy", MB_ICONHAND);
        return ConversionOutcome::Busy;
    }
    const std::string name = Printable(DisplayName(path));

    // Entered again only after a revert: the restored file is classified afresh.
    for (;;) {
        const ImfProbe probe = ProbeImf(path);
        if (probe.Type == ImfNotFound && probe.Reason.empty()) {
            Tell(ui, path, "Could not find " + Printable(path) + "!", "File not found", MB_ICONHAND);
            return ConversionOutcome::NotFound;
        }
        // A directory or a FIFO is there, just not as a song.
        if (probe.Type == ImfNotFound || probe.Type == ImfUnreadable)
            return ReportUnreadable(path, probe.Reason, ui);
        // A song that could not be opened to lock it is one this run cannot read either.
        if (lock.Status() != FileLock::State::Held)
            return ReportUnreadable(path, lock.Error() ? SystemReason(lock.Error()) : "it is no longer a regular file", ui);
        SongFile file;
        try {
            file = ReadSongFile(lock.File(), "the file", conversion.Midi);
        } catch (const FileError& error) {
            return ReportFailure(path, error.what(), ui);
        }
        // An empty song has no records and no length to write; leaving it alone loses nothing.
        if (file.Size == 0) {
            Tell(ui, path, name + " is empty; there is nothing to convert.", "Empty file", MB_ICONINFORMATION);
            return ConversionOutcome::Empty;
        }
        switch (file.Kind) {
        case SongFileKind::Timed: // read, never rewritten: its song goes to a file of its own
            return ConvertCapture(path, *file.Timed, conversion, makeBackups, ui);
        case SongFileKind::Damaged:
            return ReportUnreadable(path, file.Reason, ui);
        case SongFileKind::OtherKind: // whatever layout the user names
            Tell(ui, path, NotASongText(name, file.Name), "Not an IMF song", MB_ICONHAND);
            return ConversionOutcome::NotASong;
        case SongFileKind::ImfSong:
            break;
        }
        const Bytes song = std::move(file.Bytes);
        ImfType layout = conversion.From.value_or(probe.Type);
        const std::size_t overrun = LengthWordOverrun(song);
        if (!conversion.From && layout == ImfLengthWord && overrun > 0 && HoldsWholeRecord(song, true)) {
            const UserReply reply =
                ui.Show({name + ": its length word counts " + std::to_string(overrun) +
                             " bytes more than the file holds: perhaps a headerless song without its leading 00 00 "
                             "record.\r\nConvert " + name + " as a headerless song?",
                         "Headerless song?", MB_ICONQUESTION_YESNO, path});
            if (reply.Answer != IDYES)
                return ConversionOutcome::LengthPastEnd;
            layout = ImfHeaderless;
        }
        // Converting a song of no whole record would only make another that reads differently.
        if (!HoldsWholeRecord(song, layout == ImfHeaderless)) {
            Tell(ui, path, name + " holds no whole record; nothing to convert.", "No whole record", MB_ICONINFORMATION);
            return ConversionOutcome::NoRecords;
        }

        const std::string backup = BackupPathFor(path);
        const bool hasBackup = LookUpPath(backup, Links::DoNotFollow).Kind == PathKind::Regular;
        Bytes saved;
        try {
            // Only a regular file is a backup: a link at the backup's name is never followed.
            if (hasBackup)
                saved = ReadWholeFile(backup, "the backup " + backup, Links::DoNotFollow);
        } catch (const FileError& error) {
            return ReportFailure(path, error.what(), ui);
        }

        if (!conversion.AlreadyThere(layout)) {
            // A song of the target's own layout cannot be told from its original by its bytes:
            // a backup holding another song may be the only copy of the original, and is never
            // written over without a Yes.
            if (!makeBackups || !hasBackup || saved == song || !HoldsSong(saved))
                return ConvertSong(path, lock, song, layout, conversion, makeBackups,
                                   hasBackup ? EarlierBackup(saved) : std::nullopt, ui);
            const UserReply reply =
                ui.Show({name + " may have been converted before: its backup " + Printable(DisplayName(backup)) +
                             " holds another song.\r\n" + SizeWarning(saved, song.size(), conversion) + kRevertQuestion,
                         "Reconvert?", MB_ICONQUESTION_YESNO, path});
            if (reply.Answer != IDYES)
                return ConversionOutcome::Declined;
        } else {
            const std::string compatible = name + " is already compatible with " + conversion.Target.Name + ".";
            if (!hasBackup) {
                Tell(ui, path, compatible, "Already compatible", MB_ICONINFORMATION);
                return ConversionOutcome::AlreadyCompatible;
            }
            if (const std::string unusable = UnusableBackup(saved, conversion); !unusable.empty()) {
                Tell(ui, path,
                     compatible + "\r\nIts backup " + Printable(DisplayName(backup)) + " cannot be restored: " +
                         unusable + ".",
                     "Already compatible", MB_ICONINFORMATION);
                return ConversionOutcome::AlreadyCompatible;
            }
            const UserReply reply = ui.Show({compatible + "\r\n" + SizeWarning(saved, song.size(), conversion) +
                                                 kRevertQuestion,
                                             "Reconvert?", MB_ICONQUESTION_YESNO, path});
            if (reply.Answer != IDYES)
                return ConversionOutcome::Declined;
        }

        // What is restored is what the question was about, even if the backup changed since.
        try {
            lock.Replace(saved, "the file from its backup");
        } catch (const FileError& error) {
            return ReportFailure(path, error.what(), ui);
        }
    }
}

} // namespace brivane
