#pragma once

#include <cstddef>
#include <cstdint>

namespace brivane::fuzz {

// The properties the fuzzers hold the code to; each throws std::runtime_error naming the
// property an input breaks. The fuzz targets and the corpus replay test share them.

// Load, save and load again keeps every section in order and every key of each section.
void CheckSettingsRoundTrip(const std::uint8_t* data, std::size_t size);

// ReadLong on any text returns without fault, and reads plain integers as themselves.
void CheckReadLong(const std::uint8_t* data, std::size_t size);

// The first byte picks the rate; the rest is a song. Its Wolfenstein form is two bytes longer,
// starts with the length, and differs only in the delay fields, each rescaled.
void CheckConversion(const std::uint8_t* data, std::size_t size);

// A file of any bytes is described without fault, and its records and trailing bytes never
// add up to more than the file holds.
void CheckInfo(const std::uint8_t* data, std::size_t size);

// The first byte's low bit picks the DRO or the RAW mark; the rest follows it. Any bytes are
// read or refused with a reason, never with a fault, and the writes come in time order, none
// after the capture's end.
void CheckCapture(const std::uint8_t* data, std::size_t size);

// The game-file readers read or refuse any bytes; every song lies inside its file.
// A Standard MIDI File after its mark: read and played, or refused with a reason; its writes
// in time order, none after its end, none on the first channel unless nine voices are asked.
void CheckMidi(const std::uint8_t* data, std::size_t size);

void CheckGameFile(const std::uint8_t* data, std::size_t size);

// Keen's Huffman dictionaries are read or refused with a reason; what one expands, coded
// again, expands to itself.
void CheckHuffman(const std::uint8_t* data, std::size_t size);

// A DOS executable, packed with LZEXE or not, gives its image or is refused with a reason.
void CheckExecutable(const std::uint8_t* data, std::size_t size);

} // namespace brivane::fuzz
