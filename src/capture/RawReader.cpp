#include "capture/ByteReader.h"
#include "capture/CaptureReaders.h"

namespace brivane {
namespace {

constexpr std::size_t kMarkSize = 8; // "RAWADATA"
// The PIT's input clock: a delay unit lasts `clock` cycles of it.
constexpr std::uint64_t kPitHertz = 1193180;
constexpr std::uint8_t kDelay = 0x00;
constexpr std::uint8_t kControl = 0x02;

std::uint16_t ClockOf(std::uint16_t stored)
{
    return stored == 0 ? 0xFFFF : stored;
}

} // namespace

// RAW: after the mark, the clock, then pairs stored value first, register second, until FF FF.
TimedSong ReadRaw(std::span<const std::uint8_t> bytes)
{
    ByteReader in(bytes);
    in.Bytes(kMarkSize, "its mark");
    std::uint64_t clock = ClockOf(in.U16("its header"));
    TimedSong capture;
    capture.Kind = "Rdos RAW capture";
    capture.Hardware = "OPL2";
    capture.UnitsPerSecond = kPitHertz;
    std::uint64_t now = 0;
    bool secondChip = false;
    while (in.Left() > 0) {
        const std::uint8_t value = in.U8("its data");
        const std::uint8_t reg = in.U8("its data");
        if (value == 0xFF && reg == 0xFF)
            break; // the end; tags may follow
        if (reg == kDelay) {
            now += value * clock;
        } else if (reg == kControl && value == 0) {
            if (in.Left() < 2)
                throw SongReadError("it ends inside a change of its clock");
            clock = ClockOf(in.U16("a change of its clock"));
        } else if (reg == kControl && (value == 1 || value == 2)) {
            secondChip = value == 2;
            if (secondChip)
                capture.Hardware = "dual OPL2";
        } else if (secondChip) {
            ++capture.SecondChipWrites;
        } else {
            capture.Writes.push_back({reg, value, now});
        }
    }
    capture.End = now;
    return capture;
}

} // namespace brivane
