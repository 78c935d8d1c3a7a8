// A Wolfenstein 3-D AUDIOT of 1.5 MB and a Commander Keen 4 AUDIO.CK4 of 500 KB, made here:
// listing their songs, and a replace of one song by one that fits its chunk beside a durable
// copy of the same bytes, in the same run. The yardstick: a replace costs at most 3 times the
// durable copy.
#include "games/GameFile.h"
#include "platform/FileSystem.h"
#include "support/KeenFiles.h"

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

// Keen 4's 156 sound chunks of 4 KB and 6 songs of 1,000 records, coded with a dictionary of
// their own bytes: 500 KB, its dictionary and offsets beside it or in a packed executable.
std::string MakeKeen()
{
    const std::string folder = (std::filesystem::temp_directory_path() / "brivane-keen-bench").string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::vector<Bytes> chunks;
    std::uint32_t state = 7;
    for (int chunk = 0; chunk < 156; ++chunk) {
        Bytes sound;
        for (int i = 0; i < 4000; ++i) {
            state = state * 1664525u + 1013904223u;
            sound.push_back(static_cast<std::uint8_t>((state >> 24) % (8 + chunk)));
        }
        chunks.push_back(sound);
    }
    for (int song = 0; song < 6; ++song) {
        Bytes records{0xA0, 0x0F};
        for (int i = 0; i < 1000; ++i)
            records.insert(records.end(), {static_cast<std::uint8_t>(0xA0 + i % 9), static_cast<std::uint8_t>(i), 7, 0});
        chunks.push_back(records);
    }
    const brivane::test::KeenAudioFiles files = brivane::test::KeenAudioHolding(chunks);
    std::filesystem::create_directories(folder + "/packed");
    brivane::ReplaceFile(folder + "/AUDIODCT.CK4", files.Dictionary, "the bench's AUDIODCT");
    brivane::ReplaceFile(folder + "/AUDIOHED.CK4", files.Offsets, "the bench's AUDIOHED");
    brivane::ReplaceFile(folder + "/AUDIO.CK4", files.Audio, "the bench's AUDIO");
    brivane::ReplaceFile(folder + "/packed/AUDIO.CK4", files.Audio, "the bench's AUDIO");
    brivane::ReplaceFile(folder + "/packed/KEEN4E.EXE",
                         brivane::test::PackedExecutable(brivane::test::ExecutableImage(files)), "the bench's KEEN4E.EXE");
    return folder;
}

const std::string& Keen()
{
    static const std::string folder = MakeKeen();
    return folder;
}

void BM_KeenListSongs(benchmark::State& state)
{
    const std::string audio = Keen() + (state.range(0) ? "/packed/AUDIO.CK4" : "/AUDIO.CK4");
    for (auto _ : state)
        benchmark::DoNotOptimize(brivane::ReadGameFile(audio).Songs.size());
    state.SetLabel(state.range(0) ? "coding found in a packed KEEN4E.EXE" : "AUDIODCT.CK4 and AUDIOHED.CK4 beside it");
}

void BM_KeenReplaceSongThatFits(benchmark::State& state)
{
    const brivane::GameFile game = brivane::ReadGameFile(Keen() + "/AUDIO.CK4");
    Bytes song = game.Songs[3].Bytes;
    for (auto _ : state) {
        song[3] ^= 1; // a new song each time, coded no longer than its chunk
        benchmark::DoNotOptimize(brivane::ReplaceGameSong(Keen() + "/AUDIO.CK4", 4, song));
    }
}

void BM_DurableCopyOfTheKeenAudio(benchmark::State& state)
{
    const Bytes data = brivane::ReadWholeFile(Keen() + "/AUDIO.CK4", "the bench's AUDIO");
    for (auto _ : state)
        benchmark::DoNotOptimize(brivane::ReplaceFile(Keen() + "/copy", data, "the copy"));
    state.SetLabel(std::to_string(data.size()) + " bytes");
}

BENCHMARK(BM_ListSongs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeenListSongs)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeenReplaceSongThatFits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DurableCopyOfTheKeenAudio)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceSongThatFits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DurableCopyOfTheAudiot)->Unit(benchmark::kMillisecond);

} // namespace
