#include "capture/ByteReader.h"
#include "capture/CaptureReaders.h"

#include <limits>

namespace brivane {
namespace {

constexpr std::size_t kMarkSize = 8; // "DBRAWOPL"
constexpr std::uint32_t kVersion01 = 0x00010000;

bool IsOpl2Register(std::uint8_t reg)
{
    const std::uint8_t low = reg & 0x1F;
    switch (reg & 0xE0) {
    case 0x00: return reg == 0x01 || reg == 0x02 || reg == 0x03 || reg == 0x04 || reg == 0x08;
    case 0x20: case 0x40: case 0x60: case 0x80: case 0xE0: return low <= 0x15;
    case 0xA0: return low <= 0x08 || (low >= 0x10 && low <= 0x18) || low == 0x1D;
    case 0xC0: return low <= 0x08;
    }
    return false;
}

// How a code byte is read: as the format defines it, or as a write of the register its value
// names, as DOSBox 0.7x writes its register cache and register 1.
enum class Reading : std::uint8_t { Code, Write };

// What reading a stream from one position costs: a write to a register no OPL2 has, and a
// code byte read as a write, are what a misaligned reading runs into.
constexpr std::uint32_t kNoSuchRegister = 1000;
constexpr std::uint32_t kCodeAsWrite = 1;

std::uint32_t Add(std::uint32_t a, std::uint32_t b)
{
    return a > std::numeric_limits<std::uint32_t>::max() - b ? std::numeric_limits<std::uint32_t>::max() : a + b;
}

// The cheapest reading of the whole stream, chosen from its end back: at each code byte that
// may also be an unmarked write, whichever reading leads to fewer impossible writes.
std::vector<Reading> ChooseReadings(std::span<const std::uint8_t> data)
{
    const std::size_t n = data.size();
    std::vector<std::uint32_t> cost(n + 3, 0);
    std::vector<Reading> choice(n, Reading::Code);
    for (std::size_t at = n; at-- > 0;) {
        const std::uint8_t code = data[at];
        const std::uint32_t asWrite = Add(cost[at + 2], IsOpl2Register(code) ? 0 : kNoSuchRegister);
        std::uint32_t asCode = asWrite;
        if (code == 0x00)
            asCode = cost[at + 2];
        else if (code == 0x01 || code == 0x04)
            asCode = cost[at + 3];
        else if (code == 0x02 || code == 0x03)
            asCode = cost[at + 1];
        if (code <= 0x04 && Add(asWrite, kCodeAsWrite) < asCode) {
            choice[at] = Reading::Write;
            cost[at] = Add(asWrite, kCodeAsWrite);
        } else {
            cost[at] = asCode;
        }
    }
    return choice;
}

} // namespace

// DRO 0.1: after the mark, the version (0.1) or nothing in the earliest files, the length in
// milliseconds and in bytes, and the hardware in one byte (early files) or four.
TimedSong ReadDroOld(std::span<const std::uint8_t> bytes)
{
    ByteReader in(bytes);
    in.Bytes(kMarkSize, "its mark");
    ByteReader peek = in;
    if (peek.U32("its header") == kVersion01)
        in = peek;
    in.U32("its header"); // the length in milliseconds, which the delays give exactly
    const std::uint32_t dataBytes = in.U32("its header");
    const std::uint8_t hardware = in.U8("its header");
    // The later files widened the hardware type to four bytes without a new version: the data
    // length tells which, and failing that the three zero bytes of a small type.
    if (in.Left() != dataBytes && in.Left() >= 3) {
        ByteReader wide = in;
        const std::span<const std::uint8_t> rest = wide.Bytes(3, "its header");
        if (wide.Left() == dataBytes || (rest[0] == 0 && rest[1] == 0 && rest[2] == 0))
            in = wide;
    }
    if (in.Left() < dataBytes)
        throw SongReadError("it ends inside its data: " + std::to_string(dataBytes) + " bytes are announced");

    TimedSong capture;
    capture.Kind = "DOSBox DRO 0.1 capture";
    capture.Hardware = DroHardware(hardware, {"OPL2", "OPL3", "dual OPL2"});
    const std::span<const std::uint8_t> data = in.Bytes(dataBytes, "its data");
    const std::vector<Reading> readings = ChooseReadings(data);
    ByteReader stream(data);
    std::uint64_t now = 0;
    bool second = false;
    for (std::size_t at = 0; stream.Left() > 0; at = data.size() - stream.Left()) {
        const std::uint8_t code = stream.U8("its data");
        if (readings[at] == Reading::Write) {
            ++capture.UnmarkedWrites;
        } else if (code == 0x00) {
            now += stream.U8("a delay") + 1u;
            continue;
        } else if (code == 0x01) {
            now += stream.U16("a delay") + 1u;
            continue;
        } else if (code == 0x02 || code == 0x03) {
            second = code == 0x03;
            continue;
        }
        const std::uint8_t reg = code == 0x04 && readings[at] == Reading::Code ? stream.U8("an escaped write") : code;
        const std::uint8_t value = stream.U8("a write");
        if (second)
            ++capture.SecondChipWrites;
        else
            capture.Writes.push_back({reg, value, now});
    }
    capture.End = now;
    return capture;
}

} // namespace brivane
