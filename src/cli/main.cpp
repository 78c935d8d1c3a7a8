#include "cli/CliOptions.h"
#include "cli/TerminalInteraction.h"
#include "conversion/ConvertCommand.h"
#include "conversion/ImfInfo.h"
#include "conversion/ImfType.h"
#include "platform/ApplicationInfo.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/Terminal.h"
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
    return std::all_of(outcomes.begin(), outcomes.end(), IsSuccess) ? 0 : 1;
}

const char* LayoutName(ImfType type)
{
    switch (type) {
    case ImfHeaderless: return "headerless";
    case ImfWolfenstein: return "Wolfenstein 3-D";
    case ImfUnreadable: return "unreadable";
    case ImfNotFound: break;
    }
    return "missing";
}

// "1 record", "2 records".
std::string Count(std::uint64_t count, const std::string& one, const std::string& many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void PrintInfo(const std::string& path, const ImfInfo& info)
{
    std::cout << path << ": " << LayoutName(info.Type) << ", " << Count(info.Size, "byte", "bytes") << ", "
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
    std::cout << "\n";
}

int RunInfo(const CliOptions& options)
{
    int status = 0;
    for (const std::string& path : options.Files) {
        const ImfInfo info = DescribeImf(path, options.Rates);
        if (info.Type == ImfNotFound || info.Type == ImfUnreadable) {
            // A directory or a FIFO is named for what it is; "missing" is kept for absence.
            std::string what = LayoutName(info.Type);
            if (!info.Reason.empty())
                what = info.Type == ImfNotFound ? info.Reason : what + " (" + info.Reason + ")";
            std::cout << path << ": " << what << "\n";
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
        const Bytes start = ReadFileStart(path, 12);
        return start.size() == 12 && std::equal(start.begin(), start.begin() + 4, "RIFF") &&
               std::equal(start.begin() + 8, start.end(), "WAVE");
    } catch (const FileError&) {
        return false;
    }
}

// Rendering over the song, or over a file that is not a WAV, would lose what the user had.
void CheckRenderOutput(const CliOptions& options)
{
    const std::string& output = options.Output;
    const PathKind existing = output == "-" ? PathKind::Missing : LookUpPath(output).Kind;
    if (existing == PathKind::Missing)
        return;
    const auto target = IdentityOf(output);
    if (target && target == IdentityOf(options.Files.front()))
        throw UsageError("the output " + output + " is the song itself");
    if (!options.Force && !(existing == PathKind::Regular && IsWavFile(output)))
        throw UsageError(output + " exists and is not a WAV file; give --force to replace it");
}

int RunRender(const CliOptions& options)
{
    const std::string& path = options.Files.front();
    const ImfProbe probe = ProbeImf(path);
    if (probe.Type == ImfNotFound && probe.Reason.empty()) {
        std::cerr << "File not found: Could not find " << path << "!\n";
        return 1;
    }
    CheckRenderOutput(options);
    PlayableSong song;
    try {
        if (probe.Type != ImfHeaderless && probe.Type != ImfWolfenstein)
            throw FileError("could not open " + path, probe.Reason);
        song = LoadPlayableSong(path);
    } catch (const FileError& error) {
        std::cerr << "File not readable: Could not read " << path << ": " << error.Reason() << "\n";
        return 1;
    }

    const int rate = options.Rates.SourceTics(song.Layout);
    SongRenderer renderer(std::move(song.Writes), rate, options.SampleRate, options.Chip);
    const std::uint64_t length = SongRenderer::SamplesFor(renderer.TotalTicks(), rate, options.SampleRate);
    if (length > kMaxWavSamples) {
        std::cerr << "Render failed: " << path << " lasts too long for a WAV file at this sample rate.\n";
        return 1;
    }
    std::vector<std::int16_t> samples(length);
    renderer.Render(samples);
    const Bytes wav = MakeWav(samples, options.SampleRate);

    if (options.Output == "-") {
        std::cout.write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
        std::cout.flush();
        return std::cout ? 0 : 1;
    }
    try {
        ReplaceFile(options.Output, wav, "the WAV file " + options.Output);
    } catch (const FileError& error) {
        std::cerr << "Render failed: Could not write " << options.Output << ": " << error.Reason() << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    PrepareCommandLineProcess();
    try {
        const CliOptions options = ParseCommandLine(CommandLineArguments(argc, argv));
        switch (options.Command) {
        case CliCommand::Help:
            std::cout << kUsageText;
            return 0;
        case CliCommand::Version:
            std::cout << "brivane-cli " << VersionText() << "\n";
            return 0;
        case CliCommand::Info:
            return RunInfo(options);
        case CliCommand::Convert:
            return RunConvert(options);
        case CliCommand::Render:
            return RunRender(options);
        }
    } catch (const UsageError& error) {
        std::cerr << "brivane-cli: " << error.what() << " (see brivane-cli --help)\n";
        return 2;
    }
    return 0;
}
