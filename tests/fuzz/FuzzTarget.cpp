// libFuzzer target, built by ./fuzz.sh once per check: BRIVANE_FUZZ_CHECK names the check.
#include "FuzzChecks.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        brivane::fuzz::BRIVANE_FUZZ_CHECK(data, size);
    } catch (const std::runtime_error& broken) {
        std::fprintf(stderr, "property broken: %s\n", broken.what());
        std::abort();
    }
    return 0;
}
