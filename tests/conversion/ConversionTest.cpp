#include "conversion/Conversion.h"
#include "conversion/GamePresets.h"
#include "support/Songs.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brivane {
namespace {

using test::Bytes;

// Records with delays from a fixed sequence, some long, some of a single tick.
Bytes MakeRecords(std::size_t count, std::uint32_t seed)
{
    Bytes records{0, 0, 0, 0};
    for (std::size_t i = 1; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        const std::uint16_t delay = (seed >> 16) % 4 == 0 ? (seed >> 8) % 3000 : (seed >> 20) % 3;
        records.insert(records.end(), {static_cast<std::uint8_t>(0xA0 + i % 9), static_cast<std::uint8_t>(seed >> 24),
                                       static_cast<std::uint8_t>(delay & 0xFF), static_cast<std::uint8_t>(delay >> 8)});
    }
    return records;
}

const Bytes kTag{0x1A, 'T', 'u', 'n', 'e', 0, 'M', 'e', 0, 'h', 'i', 0, 'M', 'u', 's', 'e', 0};
const Bytes kPartial{0xBD, 0x20, 0x07};

// A song as a game keeps it: the records, perhaps a partial record, and with a length word
// perhaps a tag after them.
Bytes SongFor(const GamePreset& game, const Bytes& records, bool partialAndTag)
{
    Bytes song;
    Bytes stream = records;
    if (partialAndTag)
        stream.insert(stream.end(), kPartial.begin(), kPartial.end());
    if (game.Layout == ImfLengthWord)
        song = {static_cast<std::uint8_t>(stream.size() & 0xFF), static_cast<std::uint8_t>(stream.size() >> 8)};
    song.insert(song.end(), stream.begin(), stream.end());
    if (partialAndTag && game.Layout == ImfLengthWord)
        song.insert(song.end(), kTag.begin(), kTag.end());
    return song;
}

// The time at which each record of whole 4-byte records starts, in ticks.
std::vector<std::uint64_t> Times(const std::uint8_t* records, std::size_t count)
{
    std::vector<std::uint64_t> times{0};
    for (std::size_t i = 0; i < count; ++i)
        times.push_back(times.back() + (records[4 * i + 2] | records[4 * i + 3] << 8));
    return times;
}

Conversion From(const GamePreset& source, const GamePreset& target)
{
    Conversion conversion = ToWolfenstein(source.OriginalTics);
    conversion.Target = *TargetNamed(target.Key);
    if (source.Layout == ImfLengthWord)
        conversion.LengthWordTics = source.OriginalTics;
    return conversion;
}

TEST(ConversionTest, EveryGameIntoEveryOtherKeepsEachRecordsTimeAndWhatCarriesOver)
{
    const Bytes records = MakeRecords(1500, 7);
    for (const GamePreset& source : kGamePresets) {
        for (const GamePreset& target : kGamePresets) {
            if (&source == &target)
                continue;
            const Conversion conversion = From(source, target);
            const std::string pair = std::string(source.Key) + " into " + std::string(target.Key);
            if (source.Layout == target.Layout && source.OriginalTics == target.OriginalTics) {
                EXPECT_TRUE(conversion.AlreadyThere(source.Layout)) << pair;
                continue;
            }
            for (const bool partialAndTag : {false, true}) {
                const Bytes song = SongFor(source, records, partialAndTag);
                const auto converted = ConvertSongBytes(song, source.Layout, conversion);
                ASSERT_TRUE(converted) << pair;
                const Bytes& out = *converted;
                const bool toLengthWord = target.Layout == ImfLengthWord;
                // Headerless: records from offset 0 (here the song's own leading 00 00 record);
                // with a length word: the whole records counted, then the partial one, then the tag.
                const std::size_t at = toLengthWord ? 2 : 0;
                const Bytes tail = partialAndTag ? kPartial : Bytes{};
                Bytes trailer = tail;
                if (partialAndTag && toLengthWord && source.Layout == ImfLengthWord)
                    trailer.insert(trailer.end(), kTag.begin(), kTag.end());
                ASSERT_EQ(out.size(), at + records.size() + trailer.size()) << pair << partialAndTag;
                if (toLengthWord) {
                    EXPECT_EQ(out[0] | out[1] << 8, static_cast<int>(records.size())) << pair << ": whole records only";
                }
                EXPECT_TRUE(std::equal(trailer.begin(), trailer.end(), out.end() - static_cast<std::ptrdiff_t>(trailer.size())))
                    << pair;

                const auto oldTimes = Times(records.data(), records.size() / 4);
                const auto newTimes = Times(out.data() + at, records.size() / 4);
                if (source.Layout == ImfHeaderless && toLengthWord && target.OriginalTics == 700) {
                    // The classic conversion rescales each delay on its own, as it always has.
                    EXPECT_EQ(out, test::ReferenceConversion(song, source.OriginalTics)) << pair;
                    continue;
                }
                for (std::size_t k = 0; k < oldTimes.size(); ++k) {
                    const double exact = static_cast<double>(oldTimes[k]) * target.OriginalTics / source.OriginalTics;
                    ASSERT_LE(std::abs(static_cast<double>(newTimes[k]) - exact), 0.5) << pair << " record " << k;
                }
            }
        }
    }
}

TEST(ConversionTest, WolfensteinIntoDukeAndBackGivesTheSongBack)
{
    Bytes records = MakeRecords(400, 3);
    for (std::size_t at = 2; at < records.size(); at += 4) {
        const int delay = (records[at] | records[at + 1] << 8) / 5 * 5;
        records[at] = static_cast<std::uint8_t>(delay & 0xFF);
        records[at + 1] = static_cast<std::uint8_t>(delay >> 8);
    }
    const Bytes wolf = SongFor(*FindGamePreset("wolf3d"), records, false);
    const auto duke = ConvertSongBytes(wolf, ImfLengthWord, From(*FindGamePreset("wolf3d"), *FindGamePreset("duke2")));
    ASSERT_TRUE(duke);
    EXPECT_EQ(duke->size(), records.size());
    const auto back = ConvertSongBytes(*duke, ImfHeaderless, From(*FindGamePreset("duke2"), *FindGamePreset("wolf3d")));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, wolf);
}

TEST(ConversionTest, HeaderlessResultsStartWithAZeroRecordAndTargetsAreNamedOrRefused)
{
    const Bytes keen{4, 0, 0x20, 1, 8, 0, 0x1A, 0};
    const auto duke = ConvertSongBytes(keen, ImfLengthWord, From(*FindGamePreset("keen"), *FindGamePreset("duke2")));
    EXPECT_EQ(*duke, (Bytes{0, 0, 0, 0, 0x20, 1, 4, 0})) << "a leading record, the tag dropped";
    EXPECT_FALSE(ConvertSongBytes(Bytes(65536, 0), ImfHeaderless, From(*FindGamePreset("cosmo"), *FindGamePreset("keen"))))
        << "records that do not fit a length word";

    struct Case {
        const char* Text;
        bool Valid;
        ImfType Layout;
        int Tics;
    };
    for (const Case& c : {Case{"duke2", true, ImfHeaderless, 280}, Case{"blakestone", true, ImfLengthWord, 700},
                          Case{"headerless:100", true, ImfHeaderless, 100}, Case{"length:700", true, ImfLengthWord, 700},
                          Case{"length:99", false, ImfHeaderless, 0}, Case{"headerless:701", false, ImfHeaderless, 0}, Case{"length:", false, ImfHeaderless, 0},
                          Case{"length:5x", false, ImfHeaderless, 0}, Case{"wave:300", false, ImfHeaderless, 0}, Case{"doom", false, ImfHeaderless, 0}}) {
        const auto target = TargetNamed(c.Text);
        ASSERT_EQ(target.has_value(), c.Valid) << c.Text;
        if (target) {
            EXPECT_EQ(target->Layout, c.Layout) << c.Text;
            EXPECT_EQ(target->Tics, c.Tics) << c.Text;
        }
    }
}

} // namespace
} // namespace brivane
