#include "opl/TimedSong.h"

#include <array>

namespace brivane {

TimedSong LoopingPart(const TimedSong& capture)
{
    TimedSong part = capture;
    part.Writes.clear();
    part.Loop.reset();
    const TimedSong::LoopPoint loop = capture.Loop.value_or(TimedSong::LoopPoint{});
    std::array<std::optional<std::uint8_t>, 256> state;
    for (std::size_t i = 0; i < loop.FirstWrite && i < capture.Writes.size(); ++i)
        state[capture.Writes[i].Register] = capture.Writes[i].Value;
    for (std::size_t reg = 0; reg < state.size(); ++reg)
        if (state[reg])
            part.Writes.push_back({static_cast<std::uint8_t>(reg), *state[reg], 0});
    for (std::size_t i = loop.FirstWrite; i < capture.Writes.size(); ++i)
        part.Writes.push_back({capture.Writes[i].Register, capture.Writes[i].Value, capture.Writes[i].At - loop.At});
    part.End = capture.End - loop.At;
    return part;
}

} // namespace brivane
