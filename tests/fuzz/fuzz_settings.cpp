// libFuzzer target: ./fuzz.sh builds and runs it.
#include "FuzzChecks.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        brivane::fuzz::CheckSettingsRoundTrip(data, size);
    } catch (const std::runtime_error& broken) {
        std::fprintf(stderr, "property broken: %s\n", broken.what());
        std::abort();
    }
    return 0;
}
