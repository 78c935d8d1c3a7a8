#include "conversion/ClassicTiming.h"

#include "opl/ImfCommand.h"
#include "conversion/WolfensteinLayout.h"

#include <cmath>
#include <cstdio>

namespace brivane {
namespace {

std::uint64_t TotalTicks(std::span<const std::uint8_t> records)
{
    std::uint64_t ticks = 0;
    for (std::size_t at = 0; at + kImfCommandSize <= records.size(); at += kImfCommandSize)
        ticks += ReadLe16(records.data() + at + kDelayOffset);
    return ticks;
}

} // namespace

std::string ClassicTimingNote(std::span<const std::uint8_t> song, ImfType layout, const Conversion& conversion)
{
    if (!conversion.IsClassic(layout))
        return {};
    const int tics = conversion.HeaderlessTics;
    const double before = static_cast<double>(TotalTicks(SplitSong(song, true).Records)) / tics;
    const auto converted = ToWolfensteinLayout(song, TicScaleFor(tics));
    const double after = static_cast<double>(TotalTicks(SplitSong(converted, false).Records)) / kWolfensteinTics;
    const double change = std::round((after - before) * 100) / 100;
    if (change == 0)
        return {};
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f", std::fabs(change));
    return "at " + std::to_string(tics) + ", the classic conversion " + (change < 0 ? "shortens" : "lengthens") +
           " this song by " + seconds + " s";
}

} // namespace brivane
