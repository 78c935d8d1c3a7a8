#include "cli/CliOptions.h"

#include "conversion/ConvertCommand.h"
#include "conversion/TicScale.h"

#include <algorithm>

namespace brivane {

const char* const kUsageText =
    "Usage: brivane-cli convert [--tics N] [--backup | --no-backup] [--yes | --no] [--jobs N] FILE...\n"
    "       brivane-cli info [--tics N] FILE...\n"
    "       brivane-cli --help | --version\n"
    "\n"
    "convert  rewrites each headerless (Duke Nukem 2 / Cosmo) IMF file in place in the\n"
    "         Wolfenstein 3-D layout, in the order given, as the window's Convert does.\n"
    "info     prints each file's layout, size, records, trailing bytes and duration.\n"
    "\n"
    "  --tics N      the rate the songs were written at, 100 to 700 (default 280)\n"
    "  --backup      keep a copy as FILE.bak before converting (the default)\n"
    "  --no-backup   convert without a backup\n"
    "  --yes         revert a converted file to its backup and convert it afresh\n"
    "  --no          never revert (the answer when standard input is not a terminal)\n"
    "  --jobs N      songs converted at once, 1 to 64 (default: the cores, at most 4);\n"
    "                messages still come in the order of the files\n"
    "\n"
    "Exit status: 0 when every file was converted, already compatible, declined or empty;\n"
    "1 when any file was missing, unreadable, too long or failed; 2 for a usage error.\n";

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

} // namespace

CliOptions ParseCommandLine(const std::vector<std::string>& arguments)
{
    CliOptions options;
    if (arguments.empty())
        throw UsageError("no command given");

    const std::string& command = arguments[0];
    if (command == "--help" || command == "-h" || command == "help") {
        options.Command = CliCommand::Help;
        return options;
    }
    if (command == "--version") {
        options.Command = CliCommand::Version;
        return options;
    }
    if (command == "convert")
        options.Command = CliCommand::Convert;
    else if (command == "info")
        options.Command = CliCommand::Info;
    else
        throw UsageError("unknown command '" + command + "'");

    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool isConvert = options.Command == CliCommand::Convert;
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            options.Files.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--tics") {
            if (i + 1 == arguments.size())
                throw UsageError("--tics needs a value");
            options.OriginalTics = ParseTics(arguments[++i]);
        } else if (argument.rfind("--tics=", 0) == 0) {
            options.OriginalTics = ParseTics(argument.substr(7));
        } else if (isConvert && (argument == "--jobs" || argument.rfind("--jobs=", 0) == 0)) {
            if (argument == "--jobs" && i + 1 == arguments.size())
                throw UsageError("--jobs needs a value");
            const std::string value = argument == "--jobs" ? arguments[++i] : argument.substr(7);
            options.Jobs = static_cast<unsigned>(ParseNumber("--jobs", value, 1, kMaxJobs));
        } else if (isConvert && argument == "--backup") {
            options.MakeBackups = true;
        } else if (isConvert && argument == "--no-backup") {
            options.MakeBackups = false;
        } else if (isConvert && argument == "--yes") {
            options.Questions = QuestionPolicy::AlwaysYes;
        } else if (isConvert && argument == "--no") {
            options.Questions = QuestionPolicy::AlwaysNo;
        } else if (argument == "--help") {
            options.Command = CliCommand::Help;
            return options;
        } else {
            throw UsageError("unknown option '" + argument + "' for " + command);
        }
    }
    if (options.Files.empty())
        throw UsageError("no files given to " + command);
    return options;
}

} // namespace brivane
