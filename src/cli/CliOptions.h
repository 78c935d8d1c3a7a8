#pragma once

#include "cli/TerminalInteraction.h"
#include "conversion/Conversion.h"
#include "playback/OplChip.h"
#include "playback/SongRenderer.h"

#include <stdexcept>
#include <optional>
#include <string>
#include <vector>

namespace brivane {

enum class CliCommand { Convert, Info, Render, Songs, Extract, Replace, Restore, Help, Version };

struct CliOptions {
    CliCommand Command = CliCommand::Help;
    // The rates songs are taken at and the target, as --tics, --game and --to give them.
    Conversion Rates = ToWolfenstein(kDefaultOriginalTics);
    bool RateGiven = false; // --tics or --game, which may be given once
    bool MakeBackups = true;
    QuestionPolicy Questions = QuestionPolicy::AskTerminal;
    unsigned Jobs = 0; // 0: the default for this machine
    std::vector<std::string> Files;
    Emulator Chip = Emulator::Nuked;
    int SampleRate = kDefaultSampleRate;
    std::string Output; // render's -o: a path, or "-" for standard output
    bool Force = false; // render may replace a file that is not a WAV
    std::optional<std::size_t> FirstSong; // songs' --first-song: the chunk an AUDIOT's music starts at
};

// A command line that cannot be run; what() is the one-line reason.
// A command line that cannot be carried out, and where the user reads how to mend it.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& what, std::string seeAlso = "brivane-cli --help")
        : std::runtime_error(what), seeAlso_(std::move(seeAlso)) {}
    const std::string& SeeAlso() const { return seeAlso_; }

private:
    std::string seeAlso_;
};

CliOptions ParseCommandLine(const std::vector<std::string>& arguments);

extern const char* const kUsageText;

} // namespace brivane
