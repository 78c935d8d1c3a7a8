#include "support/Process.h"

#include "support/TempDir.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace brivane::test {

std::string CliPath()
{
    return BRIVANE_CLI_PATH;
}

namespace {

// In a forked child: runs the program, or ends the child with 127.
[[noreturn]] void Exec(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    ::execv(args[0], args.data());
    ::_exit(127);
}

// A new pseudo-terminal; its master stays open, unread, for the life of the program.
int OpenTerminal(const std::string& typed)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        ::_exit(127);
    const int terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    if (terminal < 0 || ::write(master, typed.data(), typed.size()) != static_cast<ssize_t>(typed.size()))
        ::_exit(127);
    return terminal;
}

} // namespace

void InputFromTerminal(const std::string& typed)
{
    ::dup2(OpenTerminal(typed), STDIN_FILENO);
}

void OutputToTerminal()
{
    ::dup2(OpenTerminal({}), STDOUT_FILENO);
}

ProgramId StartProgram(const std::vector<std::string>& argv)
{
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        Exec(argv);
    }
    return child;
}

int WaitProgram(ProgramId child)
{
    int status = 0;
    ::waitpid(static_cast<pid_t>(child), &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void KillProgram(ProgramId child)
{
    ::kill(static_cast<pid_t>(child), SIGKILL);
    WaitProgram(child);
}

ProcessResult RunProgram(const std::vector<std::string>& argv, const std::function<void()>& inChild)
{
    TempDir outputs;
    const std::string outPath = outputs / "out";
    const std::string errPath = outputs / "err";
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0)
            ::_exit(127);
        ::dup2(in, STDIN_FILENO);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        if (inChild)
            inChild();
        Exec(argv);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ProcessResult result;
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const Bytes out = ReadBytes(outPath);
    const Bytes err = ReadBytes(errPath);
    result.Out.assign(out.begin(), out.end());
    result.Err.assign(err.begin(), err.end());
    return result;
}

} // namespace brivane::test
