#include "conversion/ConvertImf.h"

#include "conversion/ImfCommand.h"
#include "conversion/ImfPaths.h"
#include "conversion/ImfType.h"
#include "conversion/WolfensteinLayout.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"

namespace brivane {
namespace {

const char* const kAlreadyCompatible = " is already compatible with Wolfenstein 3D.";

ConversionOutcome ReportFailure(const std::string& path, const FileError& error, UserInteraction& ui)
{
    ui.ShowMessage("Could not convert " + path + ": " + error.what(), "Conversion failed", MB_ICONHAND);
    return ConversionOutcome::Failed;
}

// The whole file is read before anything is written: backup, then the new content.
ConversionOutcome ConvertHeaderless(const std::string& path, float ticScale, bool makeBackups,
                                    UserInteraction& ui)
{
    Bytes original;
    try {
        original = ReadWholeFile(path, "the file");
    } catch (const FileError& error) {
        return ReportFailure(path, error, ui);
    }

    // An empty song has no records and no length to write; leaving it alone loses nothing.
    if (original.empty()) {
        ui.ShowMessage(DisplayName(path) + " is empty; there is nothing to convert.", "Empty file",
                       MB_ICONINFORMATION);
        return ConversionOutcome::Empty;
    }
    if (original.size() > kMaxWolfensteinLength) {
        ui.ShowMessage("Could not convert " + path + ": it is longer than 65535 bytes, the most the "
                       "Wolfenstein 3D layout can hold.",
                       "File too long", MB_ICONHAND);
        return ConversionOutcome::TooLong;
    }

    const Bytes converted = ToWolfensteinLayout(original, ticScale);

    try {
        // A song the user made read-only is refused before its backup is touched.
        EnsureWritable(path, "the converted file");
        if (makeBackups) {
            const std::string backup = BackupPathFor(path);
            ReplaceFile(backup, original, Durability::DataFlushed, "the backup " + backup);
        }
        ReplaceFile(path, converted, Durability::Flushed, "the converted file");
    } catch (const FileError& error) {
        return ReportFailure(path, error, ui);
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
    // Entered again only after a revert: the restored file is classified afresh.
    for (;;) {
        const ImfProbe probe = ProbeImf(path);
        switch (probe.Type) {
        case ImfNotFound:
            ui.ShowMessage("Could not find " + path + "!", "File not found", MB_ICONHAND);
            return ConversionOutcome::NotFound;
        case ImfUnreadable:
            ui.ShowMessage("Could not read " + path + ": " + probe.Reason, "File not readable",
                           MB_ICONHAND);
            return ConversionOutcome::Unreadable;
        case ImfHeaderless:
            return ConvertHeaderless(path, ticScale, makeBackups, ui);
        case ImfWolfenstein:
            break;
        }

        const std::string name = DisplayName(path);
        const std::string backup = BackupPathFor(path);
        if (LookUpPath(backup) != PathKind::Regular) {
            ui.ShowMessage(name + kAlreadyCompatible, "Already compatible", MB_ICONINFORMATION);
            return ConversionOutcome::AlreadyCompatible;
        }
        const int answer = ui.ShowMessage(
            name + kAlreadyCompatible + "\r\nDo you wish to revert to your backup copy and reconvert it?",
            "Reconvert?", MB_ICONQUESTION_YESNO);
        if (answer != IDYES)
            return ConversionOutcome::Declined;

        try {
            const Bytes saved = ReadWholeFile(backup, "the backup " + backup);
            ReplaceFile(path, saved, Durability::Flushed, "the file from its backup");
        } catch (const FileError& error) {
            return ReportFailure(path, error, ui);
        }
    }
}

} // namespace brivane
