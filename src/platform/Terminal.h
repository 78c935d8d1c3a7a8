#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brivane {

// Sets a command-line program's process up before it does anything else. On POSIX a
// file-size limit shows as a failed write the user is told about instead of killing it. On
// Windows std::cout and std::cerr carry UTF-8: as text to a console, as the bytes themselves
// to a pipe or a file, with "\n" line ends as on POSIX.
void PrepareCommandLineProcess();

// The arguments after the program's name, as UTF-8 text (Windows passes its own code page).
std::vector<std::string> CommandLineArguments(int argc, char* argv[]);

// The files a command-line argument with * or ? in its last part names, sorted by name
// without regard to case, or nothing when it is no pattern. Windows' shells leave patterns to
// the program; a POSIX shell has expanded them already, so there every argument is a name.
std::optional<std::vector<std::string>> ExpandWildcards(const std::string& argument);

// Whether an argument asks for help as this system's own tools are asked: "/?" on Windows;
// on POSIX that is a path like any other.
bool IsSystemHelpSwitch(const std::string& argument);

enum class StandardStream { Input, Output, Error };

// Whether the stream is a terminal, or on Windows a console.
bool IsTerminal(StandardStream stream);

} // namespace brivane
