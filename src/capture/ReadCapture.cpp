#include "capture/CaptureReaders.h"

#include <algorithm>
#include <string_view>

namespace brivane {

std::optional<Capture> ReadCapture(std::span<const std::uint8_t> bytes)
{
    const auto marked = [bytes](std::string_view mark) {
        return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin(), [](char a, auto b) {
                   return static_cast<std::uint8_t>(a) == b;
               });
    };
    if (!marked("DBRAWOPL") && !marked("RAWADATA"))
        return std::nullopt;
    if (bytes.size() > kMaxCaptureBytes)
        throw CaptureError("it is larger than 64 MiB");
    return marked("DBRAWOPL") ? ReadDro(bytes) : ReadRaw(bytes);
}

} // namespace brivane
