// A Wolfenstein 3-D AUDIOT of 1.5 MB, made here: listing its songs, and a replace of one song
// by one that fits its chunk beside a durable copy of the same bytes, in the same run.
// The yardstick: a replace costs at most 3 times the durable copy.
#include "games/GameFile.h"
#include "platform/FileSystem.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU32(Bytes& to, std::size_t value)
{
    for (int i = 0; i < 4; ++i)
        to.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// 261 sounds of 5 KB and 27 songs of 1,000 records each: 1.5 MB, in a fresh folder.
std::string MakeGame()
{
    const std::string folder = (std::filesystem::temp_directory_path() / "brivane-games-bench").string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Bytes header, data;
    for (int chunk = 0; chunk < 288; ++chunk) {
        PutU32(header, data.size());
        if (chunk < 261) {
            data.insert(data.end(), 5000, static_cast<std::uint8_t>(chunk));
            continue;
        }
        data.insert(data.end(), {0xA0, 0x0F});
        for (int i = 0; i < 1000; ++i)
            data.insert(data.end(), {static_cast<std::uint8_t>(0xA0 + i % 9), static_cast<std::uint8_t>(i), 7, 0});
    }
    PutU32(header, data.size());
    brivane::ReplaceFile(folder + "/AUDIOHED.WL6", header, "the bench's AUDIOHED");
    brivane::ReplaceFile(folder + "/AUDIOT.WL6", data, "the bench's AUDIOT");
    return folder;
}

const std::string& Game()
{
    static const std::string folder = MakeGame();
    return folder;
}

void BM_ListSongs(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(brivane::ReadGameFile(Game() + "/AUDIOT.WL6").Songs.size());
}

void BM_ReplaceSongThatFits(benchmark::State& state)
{
    const brivane::GameFile game = brivane::ReadGameFile(Game() + "/AUDIOT.WL6");
    Bytes song = game.Songs[3].Bytes;
    for (auto _ : state) {
        song[3] ^= 1; // a new song each time, of the chunk's size
        benchmark::DoNotOptimize(brivane::ReplaceGameSong(Game() + "/AUDIOT.WL6", 4, song));
    }
}

void BM_DurableCopyOfTheAudiot(benchmark::State& state)
{
    const Bytes data = brivane::ReadWholeFile(Game() + "/AUDIOT.WL6", "the bench's AUDIOT");
    for (auto _ : state)
        benchmark::DoNotOptimize(brivane::ReplaceFile(Game() + "/copy", data, "the copy"));
}

BENCHMARK(BM_ListSongs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceSongThatFits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DurableCopyOfTheAudiot)->Unit(benchmark::kMillisecond);

} // namespace
