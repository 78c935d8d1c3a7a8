#include "cli/CliOptions.h"
#include "cli/TerminalInteraction.h"
#include "conversion/ConvertCommand.h"
#include "conversion/CountedText.h"
#include "conversion/ImfInfo.h"
#include "opl/ImfType.h"
#include "conversion/PrintableText.h"
#include "songfile/OutputGate.h"
#include "songfile/SongFile.h"
#include "games/GameSongTasks.h"
#include "platform/ApplicationInfo.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/Terminal.h"
#include "platform/UserFolders.h"
#include "playback/WavFile.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <iostream>

using namespace brivane;

namespace {

int RunConvert(const CliOptions& options)
{
    TerminalInteraction ui(options.Questions, std::cin, std::cout, std::cerr, IsTerminal(StandardStream::Input),
                           IsTerminal(StandardStream::Error));
    const bool makeBackups = options.MakeBackups;
    const auto outcomes = ConvertFiles(options.Files, options.Rates, [makeBackups] { return makeBackups; }, ui,
                                       {options.Jobs ? options.Jobs : DefaultJobs(), nullptr});
    std::cout << CountOutcomes(outcomes) << "\n";
    if (std::find(outcomes.begin(), outcomes.end(), ConversionOutcome::LengthPastEnd) != outcomes.end())
        std::cerr << "Give --from headerless to convert such a song as a headerless one, or --from length to keep "
                     "its length word.\n";
    return std::all_of(outcomes.begin(), outcomes.end(), IsSuccess) ? 0 : 1;
}

const char* LayoutName(ImfType type)
{
    switch (type) {
    case ImfHeaderless: return "headerless";
    case ImfLengthWord: return "Wolfenstein 3-D";
    case ImfUnreadable: return "unreadable";
    case ImfNotFound: break;
    }
    return "missing";
}

void PrintInfo(const std::string& path, const ImfInfo& info)
{
    if (!info.OtherKind.empty()) {
        std::cout << Printable(path) << ": " << info.OtherKind << ", not an IMF song\n";
        return;
    }
    std::cout << Printable(path) << ": " << LayoutName(info.Type) << ", " << Count(info.Size, "byte", "bytes") << ", "
              << Count(info.Records, "record", "records") << ", "
              << Count(info.PartialBytes, "trailing byte", "trailing bytes");
    if (info.TrailerBytes > 0)
        std::cout << ", " << Count(info.TrailerBytes, "byte", "bytes") << " after the records";
    if (info.Tag)
        std::cout << " (tag: title \"" << info.Tag->Title << "\", composer \"" << info.Tag->Composer
                  << "\", remarks \"" << info.Tag->Remarks << "\")";
    std::cout << ", " << std::fixed << std::setprecision(2) << info.Seconds << " seconds at " << info.Tics
              << " ticks per second";
    if (info.MissingBytes > 0)
        std::cout << "; length word " << Count(info.MissingBytes, "byte", "bytes")
                  << " more than the file holds: perhaps a headerless song without its leading 00 00 record";
    if (!info.TimingNote.empty())
        std::cout << "; " << info.TimingNote;
    std::cout << "\n";
}

int RunInfo(const CliOptions& options)
{
    int status = 0;
    for (const std::string& path : options.Files) {
        const ImfInfo info = DescribeImf(path, options.Rates);
        if (!info.TimedSummary.empty()) {
            std::cout << Printable(path) << ": " << info.TimedSummary << "\n";
            status = std::max(status, info.CaptureReadable ? 0 : 1);
            continue;
        }
        if (info.Type == ImfNotFound || info.Type == ImfUnreadable) {
            // A directory or a FIFO is named for what it is; "missing" is kept for absence.
            std::string what = LayoutName(info.Type);
            if (!info.Reason.empty())
                what = info.Type == ImfNotFound ? info.Reason : what + " (" + info.Reason + ")";
            std::cout << Printable(path) << ": " << what << "\n";
            status = 1;
            continue;
        }
        PrintInfo(path, info);
    }
    return status;
}

// A WAV file counts its data in 32 bits; a song longer than that cannot be written as one.
constexpr std::uint64_t kMaxWavSamples = (std::uint64_t{1} << 31) - 22;

bool IsWavFile(const std::string& path)
{
    try {
        return IsWavSignature(ReadFileStart(path, kSignatureBytes));
    } catch (const FileError&) {
        return false;
    }
}

enum class OutputWay { StandardOutput, Replace, Stream };

// How render writes its WAV: a regular file is replaced whole, a FIFO or a character device
// (a player's pipe, /dev/null) is written into as a stream and never replaced, since
// replacing it would leave its reader nothing. Rendering over the song, over a file that
// is not a WAV, or into anything else would lose what the user had.
OutputWay CheckRenderOutput(const CliOptions& options)
{
    const std::string& output = options.Output;
    if (output == "-") {
        if (IsTerminal(StandardStream::Output))
            throw UsageError("standard output is a terminal; give -o FILE or a pipe");
        return OutputWay::StandardOutput;
    }
    if (IsStreamDevice(output))
        return OutputWay::Stream;
    const PathLookup found = LookUpPath(output);
    switch (found.Kind) {
    case PathKind::Missing:
        return OutputWay::Replace;
    case PathKind::Fifo:
    case PathKind::Device:
        return OutputWay::Stream;
    case PathKind::Regular:
        break;
    case PathKind::Inaccessible:
        throw UsageError("could not look up the output " + Printable(output) + ": " + SystemReason(found.SystemError));
    default:
        throw UsageError("the output " + Printable(output) + " is " + KindName(found.Kind) +
                         "; give a file, a FIFO or a character device");
    }
    if (!InputRefusal(output, options.Files).empty())
        throw UsageError("the output " + Printable(output) + " is the song itself");
    if (!options.Force && !IsWavFile(output))
        throw UsageError(Printable(output) + " exists and is not a WAV file; give --force to replace it");
    return OutputWay::Replace;
}

int RunRender(const CliOptions& options)
{
    const std::string& path = options.Files.front();
    const ImfProbe probe = ProbeImf(path);
    if (probe.Type == ImfNotFound && probe.Reason.empty()) {
        std::cerr << "File not found: Could not find " << Printable(path) << "!\n";
        return 1;
    }
    const OutputWay way = CheckRenderOutput(options);
    PlayableSong song;
    try {
        if (probe.Type != ImfHeaderless && probe.Type != ImfLengthWord)
            throw probe.SystemError ? FileError("could not open " + path, probe.SystemError)
                                    : FileError("could not open " + path, probe.Reason);
        song = LoadPlayableSong(path, options.Rates.Midi);
    } catch (const FileError& error) {
        std::cerr << (IsHeldByAnotherProgram(error.ErrorNumber()) ? "File in use" : "File not readable")
                  << ": Could not read " << Printable(path) << ": " << error.Reason() << "\n";
        return 1;
    } catch (const NotASongError& error) {
        std::cerr << "Not an IMF song: " << error.what() << "\n";
        return 1;
    }

    const int rate = song.TickRate ? song.TickRate : options.Rates.SourceTics(song.Layout);
    SongRenderer renderer(std::move(song.Writes), rate, options.SampleRate, options.Chip);
    const std::uint64_t length = SongRenderer::SamplesFor(renderer.TotalTicks(), rate, options.SampleRate);
    if (length > kMaxWavSamples) {
        std::cerr << "Render failed: " << Printable(path) << " lasts too long for a WAV file at this sample rate.\n";
        return 1;
    }
    std::vector<std::int16_t> samples(length);
    renderer.Render(samples);
    const Bytes wav = MakeWav(samples, options.SampleRate);

    if (way == OutputWay::StandardOutput) {
        std::cout.write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
        std::cout.flush();
        return std::cout ? 0 : 1;
    }
    try {
        if (way == OutputWay::Stream)
            WriteIntoStream(options.Output, wav, "the output " + options.Output);
        else
            WriteOutput({options.Output, "the WAV file " + options.Output, path}, wav, options.Files);
    } catch (const FileError& error) {
        std::cerr << "Render failed: Could not write " << Printable(options.Output) << ": " << error.Reason() << "\n";
        return 1;
    }
    return 0;
}

// Prints what a task on a game's songs did: a failure to standard error under its title, one
// line a line.
int Say(const GameReport& report)
{
    std::ostream& out = report.Failed ? std::cerr : std::cout;
    std::size_t from = 0;
    for (std::size_t end; from <= report.Text.size(); from = end + 1) {
        end = std::min(report.Text.find('\n', from), report.Text.size());
        out << (report.Failed ? report.Title + ": " : "") << Printable(report.Text.substr(from, end - from)) << "\n";
    }
    return report.Failed ? 1 : 0;
}

// Each game file's songs, one line each: number, name, layout, rate, size, duration.
int RunSongs(const CliOptions& options)
{
    int status = 0;
    for (const std::string& path : options.Files) {
        const GameRead read = ReadGameForUser(path, options.FirstSong);
        if (!read.File) {
            status = Say(read.Failure);
            continue;
        }
        std::cout << Printable(path) << ": " << Printable(GameSummary(*read.File)) << "\n";
        for (const GameSong& song : read.File->Songs) {
            const SongColumns columns = ColumnsOf(song);
            const std::string note = PlayedFromNote(song);
            std::cout << std::setw(5) << columns.Number << "  " << std::left << std::setw(12) << Printable(columns.Name)
                      << std::right << "  " << columns.Layout << ", " << columns.Size << ", " << columns.Length
                      << (note.empty() ? "" : "; " + Printable(note)) << "\n";
        }
    }
    return status;
}

// The song a SONG argument names; a name the game does not have is a usage error.
const GameSong& SongNamed(const GameFile& game, const std::string& path, const std::string& wanted)
{
    const GameSong* song = FindSong(game, wanted);
    if (!song)
        throw UsageError(Printable(path) + " has no song " + Printable(wanted), "brivane-cli songs");
    return *song;
}

int RunReplace(const CliOptions& options)
{
    const std::string& gamePath = options.Files[0];
    const GameRead read = ReadGameForUser(gamePath);
    if (!read.File)
        return Say(read.Failure);
    return Say(ReplaceSongWithFile(gamePath, SongNamed(*read.File, gamePath, options.Files[1]), options.Files[2],
                                   options.Rates));
}

int RunExtract(const CliOptions& options)
{
    const std::string& path = options.Files.front();
    const GameRead read = ReadGameForUser(path, options.FirstSong);
    if (!read.File)
        return Say(read.Failure);
    std::vector<const GameSong*> chosen;
    for (std::size_t i = 1; i < options.Files.size(); ++i)
        chosen.push_back(&SongNamed(*read.File, path, options.Files[i]));
    if (chosen.empty())
        for (const GameSong& song : read.File->Songs)
            chosen.push_back(&song);
    // Made when it is not there yet, as unzip -d makes its folder.
    const std::string folder = options.Output.empty() ? "." : options.Output;
    if (!IsReadableFolder(folder) && (!MakeFolders(folder) || !IsReadableFolder(folder)))
        throw UsageError("the folder " + Printable(folder) + " cannot be opened or made");
    const std::vector<std::string> gameFiles = FilesOfGame(path);
    int status = 0;
    for (const GameSong* song : chosen) {
        GameReport report = ExtractSong(*song, folder, options.Force, gameFiles);
        if (report.FileExists)
            report.Text += "; give --force to replace it";
        status = std::max(status, Say(report));
    }
    return status;
}

// Puts the files a pattern matches in its place; a pattern that matches none is reported
// and left out. Returns whether every pattern matched.
bool ExpandPatterns(std::vector<std::string>& files)
{
    std::vector<std::string> expanded;
    bool allMatched = true;
    for (const std::string& file : files) {
        const std::optional<std::vector<std::string>> matches = ExpandWildcards(file);
        if (!matches) {
            expanded.push_back(file);
        } else if (matches->empty()) {
            std::cerr << "File not found: No file matches " << Printable(file) << "\n";
            allMatched = false;
        } else {
            expanded.insert(expanded.end(), matches->begin(), matches->end());
        }
    }
    files = std::move(expanded);
    return allMatched;
}

} // namespace

int main(int argc, char* argv[])
{
    PrepareCommandLineProcess();
    try {
        CliOptions options = ParseCommandLine(CommandLineArguments(argc, argv));
        const bool allMatched = ExpandPatterns(options.Files);
        if (options.Files.empty() && !allMatched)
            return 1;
        switch (options.Command) {
        case CliCommand::Help:
            std::cout << kUsageText;
            return 0;
        case CliCommand::Version:
            std::cout << "brivane-cli " << VersionText() << "\n";
            return 0;
        case CliCommand::Info:
            return std::max(RunInfo(options), allMatched ? 0 : 1);
        case CliCommand::Convert:
            return std::max(RunConvert(options), allMatched ? 0 : 1);
        case CliCommand::Replace:
            return RunReplace(options);
        case CliCommand::Restore:
            return Say(RestoreGame(options.Files.front()));
        case CliCommand::Extract:
            return std::max(RunExtract(options), allMatched ? 0 : 1);
        case CliCommand::Songs:
            return std::max(RunSongs(options), allMatched ? 0 : 1);
        case CliCommand::Render:
            if (options.Files.size() != 1)
                throw UsageError("render takes one song");
            return RunRender(options);
        }
    } catch (const UsageError& error) {
        std::cerr << "brivane-cli: " << error.what() << " (see " << error.SeeAlso() << ")\n";
        return 2;
    }
    return 0;
}
