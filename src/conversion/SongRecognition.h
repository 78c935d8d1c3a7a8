#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace brivane {

// What a file is when its first bytes say it is no IMF song: "a MIDI file", "a DOSBox DRO
// capture", ...; empty when it may be one. An IMF song has no mark of its own, so these are
// told first: read as records, any of them would be rewritten into noise.
std::string OtherKindOf(std::span<const std::uint8_t> start);

// How many bytes OtherKindOf needs at most.
inline constexpr std::size_t kRecognitionBytes = 12;

// "NAME is not an IMF song (it is a MIDI file); nothing was changed."
std::string NotASongText(const std::string& name, const std::string& kind);

// Thrown where a song is loaded to be played; what() is NotASongText.
class NotASongError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace brivane
