#include "cli/CliOptions.h"

#include "conversion/ConvertCommand.h"
#include "conversion/GamePresets.h"
#include "conversion/TicScale.h"
#include "platform/Terminal.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

namespace brivane {

const char* const kUsageText =
    "Usage: brivane-cli convert [--tics N | --game NAME] [--to TARGET] [--from LAYOUT] [--exact]\n"
    "                           [--backup | --no-backup] [--yes | --no] [--jobs N]\n"
    "                           [--force] [-o SONG.imf] [--loop] [--bank FILE] [--voices N] FILE...\n"
    "       brivane-cli info [--tics N | --game NAME] FILE...\n"
    "       brivane-cli songs [--first-song N] GAMEFILE...\n"
    "       brivane-cli extract [--first-song N] [-o DIR] [--force] GAMEFILE [SONG...]\n"
    "       brivane-cli replace [--tics N | --game NAME] GAMEFILE SONG FILE\n"
    "       brivane-cli restore GAMEFILE\n"
    "       brivane-cli render [--tics N | --game NAME] [--emulator nuked|woody|satoh]\n"
    "                          [--sample-rate HZ] [--force] FILE -o OUT.wav\n"
    "       brivane-cli --help | --version\n"
    "\n"
    "convert  rewrites each IMF file in place in the target's layout and rate (by default\n"
    "         headerless Duke Nukem 2 / Cosmo songs into the Wolfenstein 3-D layout), in the\n"
    "         order given, as the window's Convert does. A capture (DOSBox DRO, Rdos RAW,\n"
    "         VGM, VGZ) or a MIDI file is never changed: its song is written beside it as\n"
    "         NAME.imf, or at -o; a MIDI file plays through Freedoom's GENMIDI bank.\n"
    "info     prints each file's layout, size, records, trailing bytes, trailer, tag and\n"
    "         duration.\n"
    "songs    lists the songs inside games' files (AUDIOT/AUDIOHED, Duke Nukem II's .CMP,\n"
    "         Cosmo's .VOL and .STN): number, name, layout, rate, size and duration.\n"
    "extract  writes each song (all, or those named by number or name) as the game holds\n"
    "         it, one file each, into DIR (default: the current folder).\n"
    "replace  puts FILE (an IMF song or a capture) in the place of SONG, converted to the\n"
    "         game's layout and rate; the game's files are kept as NAME.bak first.\n"
    "restore  puts a game's files back from their backups.\n"
    "render   plays the song through an emulated OPL2 chip into a 16-bit mono WAV file\n"
    "         (-o - writes it to standard output).\n"
    "\n"
    "  --tics N         the rate headerless songs were written at, 100 to 700 (default 280)\n"
    "  --game NAME      the game the songs come from: duke2 280, cosmo 560 (headerless);\n"
    "                   keen 560, biomenace 560, wolf3d 700, blakestone 700 (length word).\n"
    "                   Songs with a length word are taken at 700 unless the game has one\n"
    "  --to TARGET      a game as above, or headerless:RATE or length:RATE with RATE from\n"
    "                   100 to 700 (default wolf3d)\n"
    "  --from LAYOUT    headerless or length: the layout of every song, when a song's first\n"
    "                   word misleads (a length word larger than the file)\n"
    "  --exact          headerless songs into Wolfenstein 3-D keep every record's time; the\n"
    "                   classic conversion rounds each delay on its own\n"
    "  --backup         keep a copy as FILE.bak before converting (the default)\n"
    "  --no-backup      convert without a backup; a song converted before then cannot be\n"
    "                   told from an original of the same layout\n"
    "  --yes            answer Yes to every question: revert a converted file to its backup\n"
    "                   and convert it afresh, convert a misleading song as headerless\n"
    "  --no             answer No (the answer when standard input is not a terminal)\n"
    "  --jobs N         songs converted at once, 1 to 64 (default: the cores, at most 4;\n"
    "                   never more than twice the cores); messages still come in the order\n"
    "                   of the files\n"
    "  --first-song N   songs: the chunk of an AUDIOT its music starts at, for a version of\n"
    "                   a game that is not known\n"
    "  --emulator NAME  nuked (the default), woody or satoh\n"
    "  --sample-rate HZ 8000 to 192000 (default 44100)\n"
    "  --force          let render replace an existing regular file that is not a WAV file\n"
    "                   (a FIFO or a character device is written into without it); let\n"
    "                   convert replace a song at the name a capture's song takes; let\n"
    "                   extract replace files of its songs' names\n"
    "  -o FILE          render: the WAV file; convert: where one capture's song goes;\n"
    "                   extract: the folder the songs go to\n"
    "  --loop           a VGM's looping part only, the registers as they stand at its loop\n"
    "                   point written first\n"
    "  --bank FILE      a MIDI file's instruments from this GENMIDI bank (default: Freedoom's)\n"
    "  --voices N       8 (the default: the first OPL channel is the games' sound effects')\n"
    "                   or 9: the voices a MIDI file's notes are played on\n"
    "\n"
    "Exit status: 0 when every file was converted, already compatible, declined, empty,\n"
    "holding no whole record or a backup left alone (render: written); 1 when any file was\n"
    "missing, unreadable, too long, busy, failed, not an IMF song, had a length word past\n"
    "its end, or was a capture whose song would replace a file without --force;\n"
    "2 for a usage error.\n";

namespace {

// A whole number from `low` to `high`, or a usage error naming the option.
int ParseNumber(const std::string& option, const std::string& text, int low, int high)
{
    const bool digitsOnly = !text.empty() && text.size() <= 6 &&
                            std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int value = digitsOnly ? std::stoi(text) : 0;
    if (!digitsOnly || value < low || value > high)
        throw UsageError(option + " takes a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + text + "'");
    return value;
}

int ParseTics(const std::string& text)
{
    return ParseNumber("--tics", text, kMinOriginalTics, kMaxOriginalTics);
}

// "--name VALUE" or "--name=VALUE": the value, or nothing when `arguments[i]` is another option.
std::optional<std::string> ValueOf(const std::string& name, const std::vector<std::string>& arguments, std::size_t& i)
{
    const std::string& argument = arguments[i];
    if (argument == name) {
        if (i + 1 == arguments.size())
            throw UsageError(name + " needs a value");
        return arguments[++i];
    }
    if (argument.rfind(name + "=", 0) == 0)
        return argument.substr(name.size() + 1);
    return std::nullopt;
}

// "--yes" after "--no" is no later choice but a contradiction, and is refused as one.
template <typename Value>
void SetOnce(std::optional<Value>& given, Value value, const char* choices)
{
    if (given && *given != value)
        throw UsageError(std::string("give one of ") + choices);
    given = value;
}

void SetRate(CliOptions& options, int headerlessTics, int lengthWordTics)
{
    if (options.RateGiven)
        throw UsageError("give the rate once, with --tics or --game");
    options.Rates.HeaderlessTics = headerlessTics;
    options.Rates.LengthWordTics = lengthWordTics;
    options.RateGiven = true;
}

} // namespace

CliOptions ParseCommandLine(const std::vector<std::string>& arguments)
{
    CliOptions options;
    if (arguments.empty())
        throw UsageError("no command given");

    const std::string& command = arguments[0];
    if (command == "--help" || command == "-h" || command == "help" || IsSystemHelpSwitch(command)) {
        options.Command = CliCommand::Help;
        return options;
    }
    if (command == "--version") {
        options.Command = CliCommand::Version;
        return options;
    }
    static constexpr std::pair<std::string_view, CliCommand> kCommands[] = {
        {"convert", CliCommand::Convert}, {"info", CliCommand::Info},       {"render", CliCommand::Render},
        {"songs", CliCommand::Songs},     {"extract", CliCommand::Extract}, {"replace", CliCommand::Replace},
        {"restore", CliCommand::Restore}};
    const auto named = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&command](const auto& entry) { return entry.first == command; });
    if (named == std::end(kCommands))
        throw UsageError("unknown command '" + command + "'");
    options.Command = named->second;

    const bool isConvert = options.Command == CliCommand::Convert;
    const bool isRender = options.Command == CliCommand::Render;
    const bool isExtract = options.Command == CliCommand::Extract;
    const bool readsGames = isExtract || options.Command == CliCommand::Songs;
    bool optionsEnded = false;
    std::optional<bool> backups;
    std::optional<QuestionPolicy> questions;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::optional<std::string> value;
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            options.Files.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if ((value = ValueOf("--tics", arguments, i))) {
            SetRate(options, ParseTics(*value), kWolfensteinTics);
        } else if ((value = ValueOf("--game", arguments, i))) {
            const GamePreset* preset = FindGamePreset(*value);
            if (!preset)
                throw UsageError("unknown game '" + *value + "' (" + std::string(kGameKeys) + ")");
            // A game whose songs have a length word says what rate those songs are at.
            SetRate(options, preset->OriginalTics,
                    preset->Layout == ImfLengthWord ? preset->OriginalTics : kWolfensteinTics);
        } else if (isConvert && (value = ValueOf("--to", arguments, i))) {
            const std::optional<ConversionTarget> target = TargetNamed(*value);
            if (!target)
                throw UsageError("unknown target '" + *value + "' (" + std::string(kGameKeys) +
                                 ", headerless:RATE or length:RATE with RATE from 100 to 700)");
            options.Rates.Target = *target;
        } else if (isConvert && (value = ValueOf("--from", arguments, i))) {
            if (*value != "headerless" && *value != "length")
                throw UsageError("--from takes headerless or length, not '" + *value + "'");
            options.Rates.From = *value == "headerless" ? ImfHeaderless : ImfLengthWord;
        } else if (readsGames && (value = ValueOf("--first-song", arguments, i))) {
            options.FirstSong = static_cast<std::size_t>(ParseNumber("--first-song", *value, 0, 65535));
        } else if (!readsGames && (value = ValueOf("--bank", arguments, i))) {
            options.Rates.Midi.Bank = *value;
        } else if (!readsGames && (value = ValueOf("--voices", arguments, i))) {
            options.Rates.Midi.Voices = ParseNumber("--voices", *value, 8, 9);
        } else if (isConvert && argument == "--loop") {
            options.Rates.LoopOnly = true;
        } else if (isConvert && argument == "--exact") {
            options.Rates.ExactTiming = true;
        } else if (isConvert && (value = ValueOf("--jobs", arguments, i))) {
            options.Jobs = static_cast<unsigned>(ParseNumber("--jobs", *value, 1, kMaxJobs));
        } else if (isRender && (value = ValueOf("--emulator", arguments, i))) {
            const auto chip = EmulatorNamed(*value);
            if (!chip)
                throw UsageError("unknown emulator '" + *value + "' (nuked, woody, satoh)");
            options.Chip = *chip;
        } else if (isRender && (value = ValueOf("--sample-rate", arguments, i))) {
            options.SampleRate = ParseNumber("--sample-rate", *value, 8000, 192000);
        } else if ((isRender || isConvert || isExtract) &&
                   ((value = ValueOf("-o", arguments, i)) || (value = ValueOf("--output", arguments, i)))) {
            if (!options.Output.empty())
                throw UsageError("give the output once");
            if (value->empty())
                throw UsageError("-o needs a file name");
            options.Output = *value;
        } else if ((isRender || isConvert || isExtract) && argument == "--force") {
            options.Force = true;
        } else if (isConvert && (argument == "--backup" || argument == "--no-backup")) {
            SetOnce(backups, argument == "--backup", "--backup and --no-backup");
        } else if (isConvert && (argument == "--yes" || argument == "--no")) {
            SetOnce(questions, argument == "--yes" ? QuestionPolicy::AlwaysYes : QuestionPolicy::AlwaysNo,
                    "--yes and --no");
        } else if (argument == "--help" || IsSystemHelpSwitch(argument)) {
            options.Command = CliCommand::Help;
            return options;
        } else {
            throw UsageError("unknown option '" + argument + "' for " + command);
        }
    }
    options.MakeBackups = backups.value_or(true);
    options.Questions = questions.value_or(QuestionPolicy::AskTerminal);
    if (options.Files.empty())
        throw UsageError("no files given to " + command);
    if (isRender && options.Files.size() != 1)
        throw UsageError("render takes one song");
    if (options.Command == CliCommand::Replace && options.Files.size() != 3)
        throw UsageError("replace takes a game file, a song of it and the file to put in its place");
    if (options.Command == CliCommand::Restore && options.Files.size() != 1)
        throw UsageError("restore takes one game file");
    if (isRender && options.Output.empty())
        throw UsageError("render needs -o OUT.wav");
    if (isConvert && !options.Output.empty() && options.Files.size() != 1)
        throw UsageError("-o names the song of one capture");
    if (isConvert) {
        options.Rates.CaptureOutput = options.Output;
        options.Rates.ReplaceSongs = options.Force;
    }
    return options;
}

} // namespace brivane
