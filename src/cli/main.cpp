#include "cli/CliOptions.h"
#include "cli/TerminalInteraction.h"
#include "conversion/ConvertCommand.h"
#include "conversion/ImfInfo.h"
#include "conversion/TicScale.h"
#include "platform/ApplicationInfo.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <unistd.h>

using namespace brivane;

namespace {

int RunConvert(const CliOptions& options)
{
    TerminalInteraction ui(options.Questions, std::cin, std::cout, std::cerr, ::isatty(STDIN_FILENO) != 0,
                           ::isatty(STDERR_FILENO) != 0);
    const bool makeBackups = options.MakeBackups;
    const auto outcomes = ConvertFiles(options.Files, TicScaleFor(options.OriginalTics),
                                       [makeBackups] { return makeBackups; }, ui,
                                       {options.Jobs ? options.Jobs : DefaultJobs(), nullptr});
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

int RunInfo(const CliOptions& options)
{
    int status = 0;
    for (const std::string& path : options.Files) {
        const ImfInfo info = DescribeImf(path, options.OriginalTics);
        if (info.Type == ImfNotFound || info.Type == ImfUnreadable) {
            // A directory or a FIFO is named for what it is; "missing" is kept for absence.
            if (info.Type == ImfNotFound && !info.Reason.empty())
                std::cout << path << ": " << info.Reason << "\n";
            else if (!info.Reason.empty())
                std::cout << path << ": " << LayoutName(info.Type) << " (" << info.Reason << ")\n";
            else
                std::cout << path << ": " << LayoutName(info.Type) << "\n";
            status = 1;
            continue;
        }
        std::cout << path << ": " << LayoutName(info.Type);
        const int rate = info.Type == ImfWolfenstein ? kWolfensteinTics : options.OriginalTics;
        std::cout << ", " << info.Size << " bytes, " << info.Records << " records, " << info.PartialBytes
                  << " trailing bytes, " << std::fixed << std::setprecision(2) << info.Seconds
                  << " seconds at " << rate << " ticks per second\n";
    }
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    // A file-size limit must show as a failed write the user is told about, not kill us.
    std::signal(SIGXFSZ, SIG_IGN);
    try {
        const CliOptions options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
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
        }
    } catch (const UsageError& error) {
        std::cerr << "brivane-cli: " << error.what() << " (see brivane-cli --help)\n";
        return 2;
    }
    return 0;
}
