#include "capture/CaptureReaders.h"
#include "capture/Inflate.h"

#include <algorithm>
#include <string_view>

namespace brivane {

std::optional<Capture> ReadCapture(std::span<const std::uint8_t> bytes, const MidiPlaying& midi)
{
    const auto marked = [bytes](std::string_view mark) {
        return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin(), [](char a, auto b) {
                   return static_cast<std::uint8_t>(a) == b;
               });
    };
    const bool gzip = marked("\x1F\x8B");
    if (IsMidiFile(bytes)) // a MIDI song is what the bank's instruments play of it
        return PlayMidiFile(bytes, midi);
    if (!marked("DBRAWOPL") && !marked("RAWADATA") && !marked("Vgm ") && !gzip)
        return std::nullopt;
    if (bytes.size() > kMaxCaptureBytes)
        throw CaptureError("it is larger than 64 MiB");
    if (gzip) {
        // A .vgz: a VGM inside; any other gzip stream is a file of another kind.
        const std::vector<std::uint8_t> inflated = Gunzip(bytes);
        if (inflated.size() < 4 || !std::equal(inflated.begin(), inflated.begin() + 4, "Vgm "))
            return std::nullopt;
        Capture capture = ReadVgm(inflated);
        capture.Kind += " (gzip-compressed)";
        return capture;
    }
    if (marked("Vgm "))
        return ReadVgm(bytes);
    return marked("DBRAWOPL") ? ReadDro(bytes) : ReadRaw(bytes);
}

} // namespace brivane
