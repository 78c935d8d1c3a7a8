#pragma once

#include "songfile/SongFile.h"
#include "support/Gzip.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace brivane::test {

// A capture's song as the door reads it; a refusal is thrown as a reader's would be, and a
// file the door takes for no capture gives nothing.
inline std::optional<TimedSong> ReadCapture(const Bytes& bytes)
{
    SongFile file = ReadSongBytes(bytes);
    if (file.Kind == SongFileKind::Damaged)
        throw SongReadError(file.Reason);
    return file.Timed;
}

// A DRO 2.0 capture: delay codes 0x70 (short) and 0x71 (long), codemap 20 B0 05.
inline Bytes Dro(std::uint8_t hardware, const Bytes& pairs, std::uint8_t codemapLength = 3, std::uint32_t announced = 0)
{
    Bytes dro{'D', 'B', 'R', 'A', 'W', 'O', 'P', 'L', 2, 0, 0, 0};
    const std::uint32_t count = announced ? announced : static_cast<std::uint32_t>(pairs.size() / 2);
    for (int i = 0; i < 4; ++i)
        dro.push_back(static_cast<std::uint8_t>(count >> (8 * i)));
    dro.insert(dro.end(), {0, 0, 0, 0, hardware, 0, 0, 0x70, 0x71, codemapLength, 0x20, 0xB0, 0x05});
    dro.resize(dro.size() - 3 + std::min<std::size_t>(codemapLength, 3), 0);
    dro.insert(dro.end(), pairs.begin(), pairs.end());
    return dro;
}

// A DRO 0.1 capture, with its version word or without, its hardware type in one byte or four.
inline Bytes DroOld(bool version, bool wideHardware, std::uint8_t hardware, const Bytes& data)
{
    Bytes dro{'D', 'B', 'R', 'A', 'W', 'O', 'P', 'L'};
    if (version)
        dro.insert(dro.end(), {0, 0, 1, 0});
    dro.insert(dro.end(), {0, 0, 0, 0});
    for (int i = 0; i < 4; ++i)
        dro.push_back(static_cast<std::uint8_t>(data.size() >> (8 * i)));
    dro.push_back(hardware);
    if (wideHardware)
        dro.insert(dro.end(), {0, 0, 0});
    dro.insert(dro.end(), data.begin(), data.end());
    return dro;
}

inline Bytes Raw(std::uint16_t clock, const Bytes& pairs)
{
    Bytes raw{'R', 'A', 'W', 'A', 'D', 'A', 'T', 'A', static_cast<std::uint8_t>(clock), static_cast<std::uint8_t>(clock >> 8)};
    raw.insert(raw.end(), pairs.begin(), pairs.end());
    return raw;
}

// A VGM 1.51 with the YM3812, YM3526 and YMF262 clocks given (0 for none), its data at 0x80.
inline Bytes Vgm(std::uint32_t ym3812, std::uint32_t ym3526, std::uint32_t ymf262, const Bytes& data)
{
    Bytes vgm(0x80, 0);
    const auto put = [&vgm](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            vgm[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    vgm[0] = 'V', vgm[1] = 'g', vgm[2] = 'm', vgm[3] = ' ';
    put(0x08, 0x151);
    put(0x34, 0x80 - 0x34);
    put(0x50, ym3812);
    put(0x54, ym3526);
    put(0x5C, ymf262);
    vgm.insert(vgm.end(), data.begin(), data.end());
    return vgm;
}

// The VGM with a GD3 tag of these texts (track, track in Japanese, game, ...) after its data.
inline Bytes WithGd3(Bytes vgm, const std::vector<std::u16string>& texts)
{
    const auto put = [](Bytes& to, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            to.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    Bytes strings;
    for (const std::u16string& text : texts)
        for (const char16_t unit : text + u'\0')
            strings.insert(strings.end(), {static_cast<std::uint8_t>(unit), static_cast<std::uint8_t>(unit >> 8)});
    const auto offset = static_cast<std::uint32_t>(vgm.size() - 0x14);
    for (int i = 0; i < 4; ++i)
        vgm[0x14 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
    vgm.insert(vgm.end(), {'G', 'd', '3', ' '});
    put(vgm, 0x100);
    put(vgm, static_cast<std::uint32_t>(strings.size()));
    vgm.insert(vgm.end(), strings.begin(), strings.end());
    return vgm;
}

} // namespace brivane::test
