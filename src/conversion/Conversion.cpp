#include "conversion/Conversion.h"

#include "conversion/GamePresets.h"
#include "opl/ImfCommand.h"
#include "conversion/Retime.h"
#include "conversion/WolfensteinLayout.h"

#include <algorithm>
#include <charconv>

namespace brivane {

std::optional<ConversionTarget> TargetNamed(std::string_view text)
{
    if (const GamePreset* game = FindGamePreset(text))
        return ConversionTarget{game->Layout, game->OriginalTics, std::string(game->Name)};
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const std::string_view layout = text.substr(0, colon);
    const std::string_view rate = text.substr(colon + 1);
    int tics = 0;
    const auto [end, error] = std::from_chars(rate.data(), rate.data() + rate.size(), tics);
    if (error != std::errc() || end != rate.data() + rate.size() || tics < kMinOriginalTics || tics > kMaxOriginalTics)
        return std::nullopt;
    const std::string at = " at " + std::to_string(tics) + " ticks per second";
    if (layout == "headerless")
        return ConversionTarget{ImfHeaderless, tics, "headerless IMF" + at};
    if (layout == "length")
        return ConversionTarget{ImfLengthWord, tics, "IMF with a length word" + at};
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ConvertSongBytes(std::span<const std::uint8_t> song, ImfType layout,
                                                          const Conversion& conversion)
{
    const ConversionTarget& target = conversion.Target;
    const bool fromHeaderless = layout == ImfHeaderless;
    const bool toLengthWord = target.Layout == ImfLengthWord;
    const SongParts parts = SplitSong(song, fromHeaderless);
    const std::size_t streamSize = parts.Records.size() + parts.Partial.size();
    if (toLengthWord && streamSize > kMaxWolfensteinLength)
        return std::nullopt;

    if (conversion.IsClassic(layout))
        return ToWolfensteinLayout(song, TicScaleFor(conversion.HeaderlessTics));

    const std::vector<std::uint8_t> records =
        RetimeRecords(parts.Records, conversion.SourceTics(layout), target.Tics);
    if (toLengthWord && records.size() + parts.Partial.size() > kMaxWolfensteinLength)
        return std::nullopt; // its long rests took more records than a length word counts
    std::vector<std::uint8_t> converted;
    converted.reserve(kImfCommandSize + records.size() + parts.Partial.size() + parts.Trailer.size());
    if (toLengthWord) {
        converted.resize(kLengthWordSize);
        WriteLe16(converted.data(), static_cast<std::uint16_t>(records.size()));
    } else if (records.size() < kLengthWordSize || records[0] != 0 || records[1] != 0) {
        // Every tool tells a headerless song by its leading 00 00; a record that writes 0 to
        // register 0 and waits no time changes nothing that plays.
        converted.resize(kImfCommandSize, 0);
    }
    converted.insert(converted.end(), records.begin(), records.end());
    converted.insert(converted.end(), parts.Partial.begin(), parts.Partial.end());
    // A headerless player would play a trailer as music; the backup keeps it.
    if (toLengthWord)
        converted.insert(converted.end(), parts.Trailer.begin(), parts.Trailer.end());
    return converted;
}

} // namespace brivane
