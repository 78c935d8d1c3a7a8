#pragma once

#include "capture/Capture.h"
#include "midi/MidiOnOpl2.h"

#include <optional>

namespace brivane {

// The capture these bytes hold, read by the reader its mark names; nothing when they hold no
// capture this program reads. Throws CaptureError for a capture that is damaged or cut short.
// A MIDI file is what `midi` says its bank plays of it.
std::optional<Capture> ReadCapture(std::span<const std::uint8_t> bytes, const MidiPlaying& midi = {});

// DOSBox's DRO 2.0 (DOSBox 0.73 and later), Rdos RAW and VGM captures (uncompressed).
Capture ReadDro(std::span<const std::uint8_t> bytes);
Capture ReadRaw(std::span<const std::uint8_t> bytes);
Capture ReadVgm(std::span<const std::uint8_t> bytes);
// DOSBox 0.61 to 0.72's DRO 0.1; ReadDro hands such captures on to it.
Capture ReadDroOld(std::span<const std::uint8_t> bytes);

} // namespace brivane
