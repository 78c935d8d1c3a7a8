#pragma once

#include <functional>
#include <sys/types.h>
#include <string>
#include <vector>

namespace brivane::test {

struct ProcessResult {
    int ExitCode = -1;   // -1 when the program did not exit normally
    std::string Out;
    std::string Err;
};

// Runs a program with standard input from /dev/null (not a terminal) and collects its
// output. `inChild` runs in the child just before exec (resource limits, for example).
ProcessResult RunProgram(const std::vector<std::string>& argv,
                         const std::function<void()>& inChild = {});

// Starts a program with its input and output on /dev/null and returns at once.
pid_t StartProgram(const std::vector<std::string>& argv);

// Waits for a started program; returns its exit code, or -1 when it did not exit normally.
int WaitProgram(pid_t child);

// Kills a started program with SIGKILL (if it is still running) and reaps it.
void KillProgram(pid_t child);

// The built command-line tool.
std::string CliPath();

} // namespace brivane::test
