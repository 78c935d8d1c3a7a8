// ConvertImf of a 40 KB song with backups on, against the I/O floor: the same bytes written
// to a temporary file, flushed and renamed, once for the song and once for the backup.
#include "conversion/ConvertImf.h"
#include "conversion/TicScale.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kSongSize = 40000;

class Silent : public brivane::UserInteraction {
public:
    brivane::UserReply Show(const brivane::UserMessage& message) override
    {
        std::fprintf(stderr, "unexpected: %s\n", message.Text.c_str());
        std::abort();
    }
};

std::vector<char> MakeSong()
{
    std::vector<char> song(kSongSize);
    std::uint32_t state = 99;
    for (auto& byte : song) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    song[0] = song[1] = 0;
    return song;
}

void WritePlain(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The floor: what any durable in-place replacement must at least do.
void WriteFlushRename(const std::string& target, const std::vector<char>& bytes)
{
    const std::string temporary = target + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temporary.c_str(), target.c_str()) != 0)
        std::abort();
}

double Seconds(Clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

void BM_ConvertImfAgainstIoFloor(benchmark::State& state)
{
    char pattern[] = "/tmp/brivane-bench-XXXXXX";
    const std::string folder = ::mkdtemp(pattern);
    const std::string song = folder + "/SONG.IMF";
    const std::vector<char> original = MakeSong();
    std::vector<char> converted(original.size() + 2);
    Silent ui;
    const brivane::Conversion rates = brivane::ToWolfenstein(280);

    double convertSeconds = 0;
    double floorSeconds = 0;
    for (auto _ : state) {
        WritePlain(song, original);
        const auto start = Clock::now();
        brivane::ConvertImf(song, rates, true, ui);
        const auto converted_at = Clock::now();
        WriteFlushRename(folder + "/floor.bak", original);
        WriteFlushRename(folder + "/floor.imf", converted);
        const auto floored = Clock::now();
        convertSeconds += Seconds(converted_at - start);
        floorSeconds += Seconds(floored - converted_at);
        state.SetIterationTime(Seconds(converted_at - start));
    }
    state.counters["convert_ms"] = 1000 * convertSeconds / static_cast<double>(state.iterations());
    state.counters["floor_ms"] = 1000 * floorSeconds / static_cast<double>(state.iterations());
    state.counters["ratio"] = convertSeconds / floorSeconds;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ConvertImfAgainstIoFloor)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

} // namespace
