#include "support/Songs.h"

#include <algorithm>
#include <cmath>

namespace brivane::test {

Bytes MakeHeaderlessSong(std::size_t size, std::uint32_t seed)
{
    Bytes song(size);
    std::uint32_t state = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        song[i] = static_cast<std::uint8_t>(state >> 24);
        // Registers an OPL2 has, as every song writes: a row's base and a channel in it.
        if (i % 4 == 0)
            song[i] = static_cast<std::uint8_t>(0x20 + 0x20 * (song[i] & 3) + (song[i] >> 2) % 9);
    }
    for (std::size_t i = 0; i < size && i < 2; ++i)
        song[i] = 0;
    return song;
}

Bytes MakeHeldNoteSong(std::uint16_t hold, std::uint16_t lead)
{
    struct Write {
        std::uint8_t reg, value;
        std::uint16_t delay;
    };
    // Channel 0: a silent modulator, a sustained carrier with instant attack, F-number 0x244
    // in block 4 (440 Hz), key on.
    const Write writes[] = {{0x00, 0x00, lead}, {0x20, 0x21, 0}, {0x23, 0x21, 0}, {0x40, 0x3F, 0},
                            {0x43, 0x00, 0},    {0x60, 0xF0, 0}, {0x63, 0xF0, 0}, {0x80, 0x00, 0},
                            {0x83, 0x00, 0},    {0xE0, 0x00, 0}, {0xE3, 0x00, 0}, {0xC0, 0x00, 0},
                            {0xA0, 0x44, 0},    {0xB0, 0x32, hold}, {0xB0, 0x12, 0}};
    Bytes song;
    for (const Write& w : writes)
        song.insert(song.end(), {w.reg, w.value, static_cast<std::uint8_t>(w.delay & 0xFF),
                                 static_cast<std::uint8_t>(w.delay >> 8)});
    return song;
}

Bytes ReferenceConversion(const Bytes& headerless, int originalTics)
{
    const float scale = static_cast<float>(700.0 / originalTics);
    Bytes out(headerless.size() + 2);
    const std::size_t whole = headerless.size() / 4 * 4; // a partial record is not counted
    out[0] = static_cast<std::uint8_t>(whole & 0xFF);
    out[1] = static_cast<std::uint8_t>((whole >> 8) & 0xFF);
    std::copy(headerless.begin(), headerless.end(), out.begin() + 2);
    for (std::size_t record = 0; (record + 1) * 4 <= headerless.size(); ++record) {
        const std::size_t at = 2 + record * 4 + 2;
        const unsigned delay = out[at] | (out[at + 1] << 8);
        const long double exact = static_cast<long double>(delay) * scale;
        long double whole = std::floor(exact);
        const long double fraction = exact - whole;
        if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0))
            whole += 1;
        const unsigned stored = whole > 65535 ? 65535u : static_cast<unsigned>(whole);
        out[at] = static_cast<std::uint8_t>(stored & 0xFF);
        out[at + 1] = static_cast<std::uint8_t>(stored >> 8);
    }
    return out;
}

} // namespace brivane::test
