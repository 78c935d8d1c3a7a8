#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace brivane::test {

struct ProcessResult {
    int ExitCode = -1;   // -1 when the program did not exit normally
    std::string Out;
    std::string Err;
};

// A started program: its process ID on POSIX, its process handle on Windows.
using ProgramId = std::intptr_t;

// Runs a program with standard input from the null device (not a terminal) and collects its
// output. `inChild` runs in the child just before exec (resource limits, for example); POSIX only.
ProcessResult RunProgram(const std::vector<std::string>& argv,
                         const std::function<void()>& inChild = {});

// Starts a program with its input and output on /dev/null and returns at once.
ProgramId StartProgram(const std::vector<std::string>& argv);

// Waits for a started program; returns its exit code, or -1 when it did not exit normally.
int WaitProgram(ProgramId child);

// Kills a started program at once (if it is still running) and reaps it.
void KillProgram(ProgramId child);

#ifndef _WIN32
// For RunProgram's `inChild`: standard input, or standard output, becomes a terminal of its
// own, on which `typed` has already been typed.
void InputFromTerminal(const std::string& typed);
void OutputToTerminal();
#endif

// The built command-line tool.
std::string CliPath();

// Runs the command-line tool with these arguments, as RunProgram does.
inline ProcessResult RunCli(std::vector<std::string> arguments, const std::function<void()>& inChild = {})
{
    arguments.insert(arguments.begin(), CliPath());
    return RunProgram(arguments, inChild);
}

} // namespace brivane::test
