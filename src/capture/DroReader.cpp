#include "capture/ByteReader.h"
#include "capture/CaptureReaders.h"

namespace brivane {
namespace {

constexpr std::size_t kMarkSize = 8; // "DBRAWOPL"
constexpr std::size_t kMaxCodemap = 128;
constexpr std::uint8_t kSecondChip = 0x80;

} // namespace

// DRO 2.0: after the mark, version 2.0, the number of register/value pairs, the length in
// milliseconds, the hardware, format and compression, the two delay codes and the codemap.
TimedSong ReadDro(std::span<const std::uint8_t> bytes)
{
    ByteReader in(bytes);
    in.Bytes(kMarkSize, "its mark");
    const std::uint16_t major = in.U16("its header");
    const std::uint16_t minor = in.U16("its header");
    if (major != 2 || minor != 0)
        return ReadDroOld(bytes);
    const std::uint32_t pairs = in.U32("its header");
    in.U32("its header"); // the length in milliseconds, which the delays give exactly
    TimedSong capture;
    capture.Kind = "DOSBox DRO 2.0 capture";
    capture.Hardware = DroHardware(in.U8("its header"), {"OPL2", "dual OPL2", "OPL3"});
    if (in.U8("its header") != 0 || in.U8("its header") != 0)
        throw SongReadError("its data is in a format or a compression DOSBox does not write");
    const std::uint8_t shortDelay = in.U8("its header");
    const std::uint8_t longDelay = in.U8("its header");
    const std::uint8_t codemapLength = in.U8("its header");
    if (codemapLength >= kMaxCodemap)
        throw SongReadError("its codemap is longer than 127");
    const std::span<const std::uint8_t> codemap = in.Bytes(codemapLength, "its codemap");
    if (in.Left() / 2 < pairs)
        throw SongReadError("it ends inside its data: " + std::to_string(pairs) + " pairs are announced");

    capture.Writes.reserve(pairs); // the pairs were counted against the bytes there
    std::uint64_t now = 0;
    for (std::uint32_t i = 0; i < pairs; ++i) {
        const std::uint8_t index = in.U8("its data");
        const std::uint8_t value = in.U8("its data");
        if (index == shortDelay) {
            now += value + 1u;
        } else if (index == longDelay) {
            now += (value + 1u) * 256u;
        } else if ((index & 0x7F) >= codemap.size()) {
            throw SongReadError("a write names entry " + std::to_string(index & 0x7F) + " of a codemap of " +
                               std::to_string(codemap.size()));
        } else if (index & kSecondChip) {
            ++capture.SecondChipWrites;
        } else {
            capture.Writes.push_back({codemap[index & 0x7F], value, now});
        }
    }
    capture.End = now;
    return capture;
}

} // namespace brivane
