// Replays the fuzzers' kept inputs through the same checks on every run of the suite.
#include "FuzzChecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

namespace brivane::fuzz {
namespace {

namespace fs = std::filesystem;

struct Target {
    const char* Folder;
    std::function<void(const std::uint8_t*, std::size_t)> Check;
};

TEST(CorpusReplayTest, EveryKeptInputHoldsItsProperties)
{
    const std::vector<Target> targets{{"settings", CheckSettingsRoundTrip},
                                      {"readlong", CheckReadLong},
                                      {"conversion", CheckConversion},
                                      {"info", CheckInfo},
                                      {"capture", CheckCapture},
                                      {"games", CheckGameFile},
                                      {"midi", CheckMidi},
                                      {"huffman", CheckHuffman},
                                      {"executable", CheckExecutable}};
    for (const Target& target : targets) {
        const fs::path folder = fs::path(BRIVANE_CORPUS_DIR) / target.Folder;
        int replayed = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            EXPECT_NO_THROW(target.Check(input.data(), input.size())) << entry.path();
            ++replayed;
        }
        EXPECT_GT(replayed, 0) << folder;
    }
}

} // namespace
} // namespace brivane::fuzz
