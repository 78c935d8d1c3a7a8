#include "platform/Terminal.h"

#include <csignal>
#include <unistd.h>

namespace brivane {

void PrepareCommandLineProcess()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

std::vector<std::string> CommandLineArguments(int argc, char* argv[])
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::optional<std::vector<std::string>> ExpandWildcards(const std::string&)
{
    return std::nullopt;
}

bool IsSystemHelpSwitch(const std::string&)
{
    return false;
}

bool IsTerminal(StandardStream stream)
{
    const int fd = stream == StandardStream::Input ? STDIN_FILENO
                   : stream == StandardStream::Output ? STDOUT_FILENO
                                                      : STDERR_FILENO;
    return ::isatty(fd) != 0;
}

} // namespace brivane
