#pragma once

// Helpers the command-line and window benchmarks share: songs on disk, and timed runs of a
// program with its output thrown away.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// `count` headerless songs of pseudo-random bytes in a fresh `folder`; `sizeOf` gives each
// song's size from a pseudo-random number.
inline std::vector<std::string> WriteSongs(const std::string& folder, int count,
                                           const std::function<std::size_t(std::uint32_t)>& sizeOf)
{
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    std::uint32_t state = 7;
    for (int i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        std::vector<char> song(sizeOf(state));
        for (auto& byte : song) {
            state = state * 1664525u + 1013904223u;
            byte = static_cast<char>(state >> 24);
        }
        song[0] = song[1] = 0;
        paths.push_back(folder + "/SONG" + std::to_string(i) + ".IMF");
        std::ofstream(paths.back(), std::ios::binary).write(song.data(), static_cast<std::streamsize>(song.size()));
    }
    return paths;
}

// Runs a program to its end, its standard output thrown away; returns the seconds it took.
// A program that fails ends the benchmark: its figures would mean nothing.
inline double RunQuietly(std::vector<std::string> argv)
{
    const auto start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::vector<char*> args;
        for (auto& arg : argv)
            args.push_back(arg.data());
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::abort();
    return Since(start);
}

} // namespace bench
