#include "playback/PlayableSong.h"
#include "playback/SongRenderer.h"
#include "playback/WavFile.h"
#include "support/Songs.h"
#ifndef _WIN32
#include "support/Unprivileged.h"
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace brivane {
namespace {

std::vector<std::int16_t> RenderAll(SongRenderer& renderer, std::size_t chunk)
{
    std::vector<std::int16_t> samples;
    std::vector<std::int16_t> buffer(chunk);
    for (std::size_t n; (n = renderer.Render(buffer)) > 0;)
        samples.insert(samples.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n));
    return samples;
}

std::vector<OplWrite> Writes(const test::Bytes& song)
{
    return ParsePlayableSong(song).Writes;
}

// The first sample at which the note sounds.
std::size_t Onset(const std::vector<std::int16_t>& samples)
{
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (samples[i] != 0)
            return i;
    return samples.size();
}

TEST(SongRendererTest, WritesAndTheEndFollowTheExactSchedule)
{
    struct Case {
        std::uint16_t Lead, Hold;
        int Rate, SampleRate;
    };
    const std::vector<Case> cases{
        {0, 280, 280, 44100}, {1, 280, 280, 44100}, {3, 100, 280, 44100}, {7, 50, 700, 44100},
        {13, 999, 560, 22050}, {5, 3, 100, 8000}, {65535, 1, 700, 48000}, {11, 140, 123, 192000},
    };
    // Satoh's chip sounds a key-on at the very sample it arrives before, so the note's onset
    // shows where the schedule put the write.
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Lead << " ticks at " << c.Rate << ", " << c.SampleRate << " Hz");
        SongRenderer renderer(Writes(test::MakeHeldNoteSong(c.Hold, c.Lead)), c.Rate, c.SampleRate, Emulator::Satoh);
        const auto samples = RenderAll(renderer, 4096);
        const std::uint64_t end = std::uint64_t{c.Lead} + c.Hold;
        EXPECT_EQ(samples.size(), end * c.SampleRate / c.Rate);
        EXPECT_EQ(Onset(samples), std::uint64_t{c.Lead} * c.SampleRate / c.Rate);
    }
}

TEST(SongRendererTest, ARateChangeHoldsFromTheCurrentPositionOn)
{
    struct Case {
        int Before, After;
        std::size_t At;
    };
    for (const Case& c : std::vector<Case>{{280, 560, 10000}, {560, 280, 10001}, {700, 100, 1}, {100, 700, 44099}}) {
        SongRenderer renderer(Writes(test::MakeHeldNoteSong(700)), c.Before);
        std::vector<std::int16_t> head(c.At);
        ASSERT_EQ(renderer.Render(head), c.At);
        renderer.SetTickRate(c.After);
        const std::size_t rest = RenderAll(renderer, 777).size();
        // Every sample advances the song by the rate in force: At × Before of 700 × 44100.
        EXPECT_EQ(rest, (700 * 44100 - c.At * c.Before) / c.After) << c.Before << " to " << c.After;
    }
}

#ifndef _WIN32 // a fresh process for each render needs fork
// Woody's and Satoh's emulators keep some state for the whole process, so each render runs in
// a fresh child, as each render of the command line does.
std::vector<std::int16_t> RenderInChild(const test::Bytes& song, Emulator chip, std::size_t chunk)
{
    const std::string bytes = test::RunInChild([&] {
        SongRenderer renderer(Writes(song), 700, 44100, chip);
        const auto samples = RenderAll(renderer, chunk);
        return std::string(reinterpret_cast<const char*>(samples.data()), samples.size() * 2);
    });
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

TEST(SongRendererTest, ChunkSizesNeverChangeTheSamples)
{
    // Random register writes, with short delays so the song lasts seconds, not days.
    test::Bytes song = test::MakeHeaderlessSong(4000, 5);
    for (std::size_t at = 2; at + 1 < song.size(); at += 4) {
        song[at] %= 40;
        song[at + 1] = 0;
    }
    for (const Emulator chip : {Emulator::Nuked, Emulator::Woody, Emulator::Satoh}) {
        const auto whole = RenderInChild(song, chip, 4096);
        EXPECT_GT(whole.size(), 40000u);
        for (const std::size_t chunk : {1u, 7u}) {
            const auto cut = RenderInChild(song, chip, chunk);
            ASSERT_EQ(cut.size(), whole.size());
            const auto [a, b] = std::mismatch(cut.begin(), cut.end(), whole.begin());
            EXPECT_EQ(a, cut.end()) << "emulator " << static_cast<int>(chip) << " in chunks of " << chunk
                                    << " differs from sample " << (a - cut.begin());
        }
    }
}
#endif

TEST(SongRendererTest, AHeldNoteSoundsAtItsPitch)
{
    for (const Emulator chip : {Emulator::Nuked, Emulator::Woody, Emulator::Satoh}) {
        SongRenderer renderer(Writes(test::MakeHeldNoteSong(560)), 280, 44100, chip);
        const auto samples = RenderAll(renderer, 512);
        ASSERT_EQ(samples.size(), 88200u);
        int crossings = 0;
        for (std::size_t i = 1; i < samples.size(); ++i)
            crossings += (samples[i - 1] < 0) != (samples[i] < 0);
        const double hertz = crossings / 2.0 / 2.0; // two crossings a cycle, two seconds
        EXPECT_NEAR(hertz, 440, 5) << static_cast<int>(chip);
    }
}

// The same samples from every build on every system: the hashes were taken from the Linux
// build with Debian's AdPlug and hold for the Windows build of the same AdPlug source.
TEST(SongRendererTest, EachEmulatorGivesTheSameSamplesOnEverySystem)
{
    const std::pair<Emulator, std::uint64_t> kHashes[] = {
        {Emulator::Nuked, 10207207808639141427u},
        {Emulator::Woody, 13368091989599130589u},
        {Emulator::Satoh, 8053328843438988625u},
    };
    for (const auto& [chip, expected] : kHashes) {
        SongRenderer renderer(Writes(test::MakeHeldNoteSong(1400, 70)), 700, 44100, chip);
        const std::vector<std::int16_t> samples = RenderAll(renderer, 4096);
        ASSERT_GT(std::count_if(samples.begin(), samples.end(), [](std::int16_t s) { return s != 0; }), 40000);
        std::uint64_t hash = 14695981039346656037u; // FNV-1a over the samples' bytes
        for (const std::int16_t sample : samples)
            for (const int shift : {0, 8})
                hash = (hash ^ ((static_cast<std::uint16_t>(sample) >> shift) & 0xFF)) * 1099511628211u;
        EXPECT_EQ(hash, expected) << static_cast<int>(chip);
    }
}

TEST(SongRendererTest, TheThreeEmulatorsPlayAtOneLevel)
{
    // Nine loud voices, the odd ones additive so that their modulators are heard too.
    std::vector<OplWrite> chord{{0, 0, 0}};
    for (std::uint8_t channel = 0; channel < 9; ++channel) {
        const auto modulator = static_cast<std::uint8_t>(channel / 3 * 8 + channel % 3);
        for (const std::uint8_t slot : {modulator, static_cast<std::uint8_t>(modulator + 3)})
            for (const auto& [reg, value] : {std::pair{0x20, 0x21}, {0x40, 0x08}, {0x60, 0xF2}, {0x80, 0x24}})
                chord.push_back({static_cast<std::uint8_t>(reg + slot), static_cast<std::uint8_t>(value), 0});
        const int frequency = 0x157 + channel * 37;
        chord.push_back({static_cast<std::uint8_t>(0xC0 + channel), static_cast<std::uint8_t>(0x0E | (channel & 1)), 0});
        chord.push_back({static_cast<std::uint8_t>(0xA0 + channel), static_cast<std::uint8_t>(frequency & 0xFF), 0});
        chord.push_back({static_cast<std::uint8_t>(0xB0 + channel), static_cast<std::uint8_t>(0x30 | frequency >> 8), 0});
    }
    chord.back().Delay = 700;
    const auto rms = [&](Emulator chip) {
        SongRenderer renderer(chord, 700, 44100, chip);
        double sum = 0;
        const auto samples = RenderAll(renderer, 4096);
        for (const std::int16_t sample : samples)
            sum += static_cast<double>(sample) * sample;
        return std::sqrt(sum / static_cast<double>(samples.size()));
    };
    const double nuked = rms(Emulator::Nuked);
    for (const Emulator chip : {Emulator::Woody, Emulator::Satoh}) {
        const double level = rms(chip) / nuked;
        EXPECT_GT(level, 0.8) << static_cast<int>(chip);
        EXPECT_LT(level, 1.25) << static_cast<int>(chip);
    }
}

TEST(SongRendererTest, ALayoutPlaysItsOwnRecordsOnly)
{
    const PlayableSong headerless = ParsePlayableSong({0, 0, 1, 0, 0x20, 5, 2, 0, 9});
    EXPECT_EQ(headerless.Layout, ImfHeaderless);
    ASSERT_EQ(headerless.Writes.size(), 2u) << "the partial record is ignored";
    EXPECT_EQ(headerless.Writes[1].Register, 0x20);
    EXPECT_EQ(headerless.Writes[1].Delay, 2);

    // The length word covers one record and a half; the trailer after it is not played.
    const PlayableSong wolf = ParsePlayableSong({6, 0, 0x20, 5, 2, 0, 0xB0, 1, 0xAA, 0xBB, 0xCC, 0xDD});
    EXPECT_EQ(wolf.Layout, ImfLengthWord);
    ASSERT_EQ(wolf.Writes.size(), 1u);
    EXPECT_EQ(wolf.Writes[0].Delay, 2);
    EXPECT_EQ(ParsePlayableSong({0xFF, 0xFF, 1, 2, 3, 4}).Writes.size(), 1u) << "as far as the file has them";
}

TEST(SongRendererTest, TheWavHeaderIsCanonical)
{
    const std::vector<std::int16_t> samples{1, -2, 0x1234};
    const test::Bytes wav = MakeWav(samples, 22050);
    const test::Bytes expected{'R', 'I', 'F', 'F', 42, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                               1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0, 'd', 'a', 't', 'a', 6, 0, 0, 0,
                               1, 0, 0xFE, 0xFF, 0x34, 0x12};
    EXPECT_EQ(wav, expected);
}

} // namespace
} // namespace brivane
