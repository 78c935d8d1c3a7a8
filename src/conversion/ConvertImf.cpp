#include "conversion/ConvertImf.h"

#include "conversion/ImfCommand.h"
#include "conversion/ImfPaths.h"
#include "conversion/ImfType.h"
#include "conversion/WolfensteinLayout.h"
#include "platform/FileError.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"

#include <cerrno>

namespace brivane {
namespace {

const char* const kAlreadyCompatible = " is already compatible with Wolfenstein 3D.";
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
    Tell(ui, path, "Could not convert " + path + ": " + reason, "Conversion failed", MB_ICONHAND);
    return ConversionOutcome::Failed;
}

// A backup is only ever written as a regular file of its own; anything else at its path
// (a planted link above all) is left alone, and so is the song.
std::string BackupRefusal(const std::string& backup)
{
    const PathLookup found = LookUpPath(backup, Links::DoNotFollow);
    if (found.Kind == PathKind::Missing || found.Kind == PathKind::Regular)
        return {};
    if (found.Kind == PathKind::Inaccessible)
        return "could not look up the backup " + backup + ": " + SystemReason(found.Error);
    return std::string("its backup ") + backup + " is " + KindName(found.Kind) +
           "; Brivane writes backups only as regular files.";
}

// The whole file is read before anything is written: backup, then the new content.
ConversionOutcome ConvertHeaderless(const std::string& path, FileLock& lock, float ticScale, bool makeBackups,
                                    UserInteraction& ui)
{
    Bytes original;
    try {
        original = ReadWholeFile(lock.File(), "the file");
    } catch (const FileError& error) {
        return ReportFailure(path, error.what(), ui);
    }

    // An empty song has no records and no length to write; leaving it alone loses nothing.
    if (original.empty()) {
        Tell(ui, path, DisplayName(path) + " is empty; there is nothing to convert.", "Empty file",
             MB_ICONINFORMATION);
        return ConversionOutcome::Empty;
    }
    if (original.size() > kMaxWolfensteinLength) {
        Tell(ui, path, "Could not convert " + path + ": it is longer than 65535 bytes, the most the "
                       "Wolfenstein 3D layout can hold.",
             "File too long", MB_ICONHAND);
        return ConversionOutcome::TooLong;
    }

    const std::string backup = BackupPathFor(path);
    if (makeBackups) {
        if (const std::string refusal = BackupRefusal(backup); !refusal.empty())
            return ReportFailure(path, refusal, ui);
    }

    const Bytes converted = ToWolfensteinLayout(original, ticScale);
    try {
        // A song the user made read-only is refused before its backup is touched.
        EnsureWritable(path, "the converted file");
        // The backup is on disk, data and name, before the song is replaced.
        if (makeBackups)
            ReplaceFile(backup, original, "the backup " + backup, {Durability::Flushed, Links::DoNotFollow, path});
        lock.Adopt(ReplaceFile(path, converted, "the converted file"));
    } catch (const FileError& error) {
        return ReportFailure(path, error.what(), ui);
    }
    return ConversionOutcome::Converted;
}

} // namespace

bool IsSuccess(ConversionOutcome outcome)
{
    switch (outcome) {
    case ConversionOutcome::Converted:
    case ConversionOutcome::AlreadyCompatible:
    case ConversionOutcome::Declined:
    case ConversionOutcome::Empty:
        return true;
    default:
        return false;
    }
}

ConversionOutcome ConvertImf(const std::string& path, float ticScale, bool makeBackups,
                             UserInteraction& ui)
{
    // Held from the first look at the song to its last write, so that a second run waits and
    // then finds this run's result instead of converting the song again.
    FileLock lock = FileLock::Acquire(path, kLockTimeout);
    if (lock.Status() == FileLock::State::Busy) {
        Tell(ui, path, path + " is being converted by another Brivane; skipped.", "File busy", MB_ICONHAND);
        return ConversionOutcome::Busy;
    }

    // Entered again only after a revert: the restored file is classified afresh.
    for (;;) {
        const ImfProbe probe = ProbeImf(path);
        if (probe.Type == ImfNotFound) {
            Tell(ui, path, "Could not find " + path + "!", "File not found", MB_ICONHAND);
            return ConversionOutcome::NotFound;
        }
        // A song that could not be opened to lock it is one this run cannot read either.
        if (probe.Type == ImfUnreadable || lock.Status() != FileLock::State::Held) {
            const std::string reason =
                probe.Type == ImfUnreadable ? probe.Reason : SystemReason(lock.Error() ? lock.Error() : EAGAIN);
            Tell(ui, path, "Could not read " + path + ": " + reason, "File not readable", MB_ICONHAND);
            return ConversionOutcome::Unreadable;
        }
        if (probe.Type == ImfHeaderless)
            return ConvertHeaderless(path, lock, ticScale, makeBackups, ui);

        const std::string name = DisplayName(path);
        const std::string backup = BackupPathFor(path);
        // Only a regular file is a backup: a link at the backup's name is never followed.
        if (LookUpPath(backup, Links::DoNotFollow).Kind != PathKind::Regular) {
            Tell(ui, path, name + kAlreadyCompatible, "Already compatible", MB_ICONINFORMATION);
            return ConversionOutcome::AlreadyCompatible;
        }
        const UserReply reply = ui.Show(
            {name + kAlreadyCompatible + "\r\nDo you wish to revert to your backup copy and reconvert it?",
             "Reconvert?", MB_ICONQUESTION_YESNO, path});
        if (reply.Answer != IDYES)
            return ConversionOutcome::Declined;

        try {
            const Bytes saved = ReadWholeFile(backup, "the backup " + backup, Links::DoNotFollow);
            lock.Adopt(ReplaceFile(path, saved, "the file from its backup"));
        } catch (const FileError& error) {
            return ReportFailure(path, error.what(), ui);
        }
    }
}

} // namespace brivane
