#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace brivane {

// One OPL2 voice of an instrument: its two operators' registers and where its notes sound.
struct OplVoice {
    // 0x20, 0x60, 0x80 and 0xE0 of the modulator and of the carrier.
    std::uint8_t Modulator[4] = {}, Carrier[4] = {};
    std::uint8_t ModulatorScale = 0, ModulatorLevel = 0; // 0x40: key scale (bits 6-7) and level
    std::uint8_t CarrierScale = 0, CarrierLevel = 0;
    std::uint8_t Feedback = 0; // 0xC0: feedback and connection (bit 0 set: both operators sound)
    std::int16_t NoteOffset = 0;
};

struct Instrument {
    static constexpr std::uint16_t kFixedPitch = 1, kTwoVoices = 4;
    std::uint16_t Flags = 0;
    std::uint8_t FineTune = 128; // the second voice's detune: (FineTune / 2 - 64) 32nds of a semitone
    std::uint8_t FixedNote = 0;
    OplVoice Voices[2];
    std::string Name;
};

// A GENMIDI bank: 128 melodic instruments, then 47 percussion ones for notes 35 to 81.
struct GenMidiBank {
    static constexpr std::size_t kInstruments = 175, kFirstPercussion = 128;
    std::array<Instrument, kInstruments> Instruments;
};

// Reads a GENMIDI lump ("#OPL_II#", 175 instruments of 36 bytes, 175 names of 32). Throws
// SongReadError with the reason.
GenMidiBank ReadGenMidi(std::span<const std::uint8_t> bytes);

// A GENMIDI bank in a file of its own (--bank). Throws SongReadError with the reason.
GenMidiBank ReadGenMidiFile(const std::string& path);

// The bank Brivane ships, Freedoom's, read once from beside the program (or, installed, from
// its data folder). Throws SongReadError when it is not there.
const GenMidiBank& DefaultBank();

} // namespace brivane
