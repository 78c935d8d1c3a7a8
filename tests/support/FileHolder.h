#pragma once

#include "support/Process.h"
#include "support/TempDir.h"

#include <chrono>
#include <stdexcept>
#include <thread>

namespace brivane::test {

// Starts the file holder on `path` ("open" or "lock", see FileHolder.cpp) for `milliseconds`
// and returns once it holds the file.
inline ProgramId StartHolding(const std::string& how, const std::string& path, int milliseconds,
                              const TempDir& scratch)
{
    const std::string ready = scratch / ("held-" + std::to_string(std::hash<std::string>{}(path + how)));
    const ProgramId holder = StartProgram({BRIVANE_HOLDER_PATH, how, path, std::to_string(milliseconds), ready});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!Exists(ready)) {
        if (std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("the file holder never held " + path);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return holder;
}

} // namespace brivane::test
