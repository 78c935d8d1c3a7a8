// `brivane-cli convert` of 1,000 songs of 20-60 KB, with backups, against a short Python
// script doing the same conversion with the same durability, side by side in each iteration.
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
constexpr int kSongs = 1000;

// 1,000 songs of 20 to 60 KB.
std::vector<std::string> WriteSongs(const std::string& folder)
{
    return bench::WriteSongs(folder, kSongs, [](std::uint32_t random) { return 20000 + random % 40001; });
}

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_CliAgainstPythonPeer(benchmark::State& state)
{
    char pattern[] = "/tmp/brivane-bench-XXXXXX";
    const std::string root = ::mkdtemp(pattern);
    double cliSeconds = 0;
    double peerSeconds = 0;
    for (auto _ : state) {
        const auto ours = WriteSongs(root + "/cli");
        const auto theirs = WriteSongs(root + "/peer");
        // One song after the other, as the peer converts them.
        std::vector<std::string> cli{BRIVANE_CLI_PATH, "convert", "--tics", "280", "--backup", "--jobs", "1"};
        cli.insert(cli.end(), ours.begin(), ours.end());
        std::vector<std::string> peer{"python3", BRIVANE_PEER_SCRIPT, "280"};
        peer.insert(peer.end(), theirs.begin(), theirs.end());
        const double cliTime = bench::RunQuietly(cli);
        const double peerTime = bench::RunQuietly(peer);
        cliSeconds += cliTime;
        peerSeconds += peerTime;
        state.SetIterationTime(cliTime);
        for (int i = 0; i < kSongs; i += 97)
            if (Contents(ours[i]) != Contents(theirs[i])) {
                std::fprintf(stderr, "the peer's result differs for %s\n", ours[i].c_str());
                std::abort();
            }
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["cli_s"] = cliSeconds / n;
    state.counters["peer_s"] = peerSeconds / n;
    state.counters["speedup"] = peerSeconds / cliSeconds;
    fs::remove_all(root);
}
BENCHMARK(BM_CliAgainstPythonPeer)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// Durable writes wait on the disk; several at once keep it busy.
void BM_CliFourJobsAgainstOne(benchmark::State& state)
{
    char pattern[] = "/tmp/brivane-bench-XXXXXX";
    const std::string root = ::mkdtemp(pattern);
    double one = 0;
    double four = 0;
    for (auto _ : state) {
        for (const char* jobs : {"1", "4"}) {
            const auto songs = WriteSongs(root + "/jobs" + jobs);
            std::vector<std::string> cli{BRIVANE_CLI_PATH, "convert", "--tics", "280", "--backup", "--jobs", jobs};
            cli.insert(cli.end(), songs.begin(), songs.end());
            (jobs[0] == '1' ? one : four) += bench::RunQuietly(cli);
        }
        state.SetIterationTime(four);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["jobs1_s"] = one / n;
    state.counters["jobs4_s"] = four / n;
    state.counters["speedup"] = one / four;
    fs::remove_all(root);
}
BENCHMARK(BM_CliFourJobsAgainstOne)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace
