#include "capture/ByteReader.h"
#include "capture/CaptureReaders.h"

#include <algorithm>
#include <cstdio>

namespace brivane {
namespace {

constexpr std::uint64_t kVgmSamplesPerSecond = 44100;
constexpr std::uint32_t kDualChip = 1u << 30;

std::uint32_t U32At(std::span<const std::uint8_t> bytes, std::size_t at)
{
    if (at + 4 > bytes.size())
        return 0; // a field past a short header is one that version does not have
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The chips of a VGM with no OPL, by their clocks in the header, for the refusal.
std::string OtherChips(std::span<const std::uint8_t> bytes, std::size_t headerEnd)
{
    static constexpr std::pair<std::size_t, const char*> kClocks[] = {
        {0x0C, "SN76489"}, {0x10, "YM2413"}, {0x2C, "YM2612"}, {0x30, "YM2151"}, {0x38, "SegaPCM"},
        {0x40, "RF5C68"},  {0x44, "YM2203"}, {0x48, "YM2608"}, {0x4C, "YM2610"}, {0x58, "Y8950"},
        {0x60, "YMZ280B"}, {0x74, "AY8910"}, {0x80, "Game Boy DMG"}, {0x84, "NES APU"}};
    std::string names;
    for (const auto& [at, name] : kClocks)
        if (at + 4 <= headerEnd && U32At(bytes, at) != 0)
            names += (names.empty() ? "" : ", ") + std::string(name);
    return names.empty() ? "none" : names;
}

bool IsOplWrite(std::uint8_t command)
{
    switch (command) {
    case 0x5A: case 0x5B: case 0x5E: case 0x5F: case 0xAA: case 0xAB: case 0xAE: case 0xAF: return true;
    }
    return false;
}

// UTF-16LE, as GD3 stores its texts, to UTF-8; a lone surrogate becomes U+FFFD.
void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6), out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12), out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18), out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F)), out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The GD3 tag's texts in their order (track, game, system and author, each in English and in
// Japanese, then date, ripper and notes); nothing for a tag that is not there whole, since a
// tag is only ever a nicety.
std::vector<std::string> Gd3Texts(std::span<const std::uint8_t> bytes)
{
    const std::uint32_t relative = U32At(bytes, 0x14);
    const std::size_t at = 0x14 + std::size_t{relative};
    if (relative == 0 || at + 12 > bytes.size() || !std::equal(bytes.begin() + at, bytes.begin() + at + 4, "Gd3 "))
        return {};
    const std::size_t length = std::min<std::size_t>(U32At(bytes, at + 8), bytes.size() - at - 12);
    std::vector<std::string> texts(1);
    for (std::size_t i = at + 12; i + 1 < at + 12 + length; i += 2) {
        char32_t unit = bytes[i] | bytes[i + 1] << 8;
        if (unit == 0) {
            texts.emplace_back();
            continue;
        }
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < at + 12 + length) {
            const char32_t low = bytes[i + 2] | bytes[i + 3] << 8;
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendUtf8(texts.back(), unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    return texts;
}

// How many operand bytes follow a command this program does not play, by the ranges the VGM
// format gives its commands; nothing for a command no version of it defines.
std::optional<std::size_t> OperandsOf(std::uint8_t command)
{
    if (command >= 0x30 && command <= 0x3F) return 1;
    if (command >= 0x40 && command <= 0x4E) return 2;
    if (command == 0x4F || command == 0x50) return 1;
    if (command >= 0x51 && command <= 0x5F) return 2;
    if (command >= 0xA0 && command <= 0xBF) return 2;
    if (command >= 0xC0 && command <= 0xDF) return 3;
    if (command >= 0xE0) return 4;
    switch (command) {
    case 0x64: return 3;
    case 0x68: return 11;
    case 0x90: case 0x91: case 0x95: return 4;
    case 0x92: return 5;
    case 0x93: return 10;
    case 0x94: return 1;
    }
    return std::nullopt;
}

} // namespace

// A VGM: a header with the chips' clocks, then commands from the data offset to 0x66, waits
// counted in 44,100ths of a second.
TimedSong ReadVgm(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 0x40)
        throw SongReadError("it ends inside its header");
    const std::uint32_t version = U32At(bytes, 0x08);
    const std::uint32_t dataOffset = version >= 0x150 && U32At(bytes, 0x34) ? 0x34 + U32At(bytes, 0x34) : 0x40;
    // The clocks at 0x50 and on are in the header only when the data begins after them.
    const auto clock = [&](std::size_t at) { return at + 4 <= dataOffset ? U32At(bytes, at) : 0u; };
    const std::uint32_t ym3812 = clock(0x50), ym3526 = clock(0x54), ymf262 = clock(0x5C);
    // The first OPL the header names plays; its own command, its second chip's, and for an
    // OPL3 the high bank's.
    std::uint8_t own = 0x5A;
    std::uint32_t chosen = ym3812;
    const char* hardware = "OPL2";
    if (!ym3812 && ym3526) {
        own = 0x5B, chosen = ym3526, hardware = "OPL";
    } else if (!ym3812 && ymf262) {
        own = 0x5E, chosen = ymf262, hardware = "OPL3";
    } else if (!ym3812) {
        throw SongReadError("it is for no OPL chip (its chips: " + OtherChips(bytes, dataOffset) + ")");
    }
    if (dataOffset >= bytes.size())
        throw SongReadError("its data offset is past its end");

    TimedSong capture;
    char kind[48];
    std::snprintf(kind, sizeof kind, "VGM %x.%02x capture", version >> 8, version & 0xFF);
    capture.Kind = kind;
    capture.Hardware = (chosen & kDualChip) ? std::string("dual ") + hardware : hardware;
    capture.UnitsPerSecond = kVgmSamplesPerSecond;
    ByteReader in(bytes.subspan(dataOffset));
    const std::uint32_t loopOffset = U32At(bytes, 0x1C) ? 0x1C + U32At(bytes, 0x1C) : 0;
    capture.Writes.reserve(in.Left() / 3); // at most one write in every three bytes
    std::uint64_t now = 0;
    for (;;) {
        if (loopOffset && loopOffset == bytes.size() - in.Left())
            capture.Loop = TimedSong::LoopPoint{capture.Writes.size(), now};
        const std::uint8_t command = in.U8("its data: it has no end command");
        if (command == 0x66)
            break;
        if (command == own) {
            const std::uint8_t reg = in.U8("a command"), value = in.U8("a command");
            capture.Writes.push_back({reg, value, now});
        } else if (IsOplWrite(command)) { // a second chip, an OPL3's high bank, another OPL
            in.Bytes(2, "a command");
            ++capture.SecondChipWrites;
        } else if (command == 0x61) {
            now += in.U16("a wait");
        } else if (command == 0x62) {
            now += 735;
        } else if (command == 0x63) {
            now += 882;
        } else if (command >= 0x70 && command <= 0x7F) {
            now += (command & 0x0F) + 1u;
        } else if (command >= 0x80 && command <= 0x8F) {
            now += command & 0x0F; // a sample of the YM2612's DAC, then the wait
        } else if (command == 0x67) {
            in.U8("a data block");
            in.U8("a data block");
            in.Bytes(in.U32("a data block"), "a data block");
        } else if (const std::optional<std::size_t> operands = OperandsOf(command)) {
            in.Bytes(*operands, "a command");
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", command);
            throw SongReadError(std::string("it holds the command ") + code + ", which no VGM version defines");
        }
    }
    capture.End = now;
    const std::vector<std::string> texts = Gd3Texts(bytes);
    const auto text = [&texts](std::size_t i) { return i < texts.size() ? texts[i] : std::string(); };
    capture.Title = text(0), capture.Game = text(2), capture.Author = text(6);
    return capture;
}

} // namespace brivane
