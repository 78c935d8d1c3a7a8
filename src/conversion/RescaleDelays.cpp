#include "conversion/RescaleDelays.h"

#include "opl/ImfCommand.h"

namespace brivane {

void RescaleDelays(std::span<std::uint8_t> commandStream, float ticScale)
{
    std::uint8_t* bytes = commandStream.data();
    const std::size_t size = commandStream.size();
    for (std::size_t i = kDelayOffset; i + 1 < size; i += kImfCommandSize)
        WriteLe16(bytes + i, RescaleDelay(ReadLe16(bytes + i), ticScale));
}

} // namespace brivane
