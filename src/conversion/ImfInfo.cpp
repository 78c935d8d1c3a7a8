#include "conversion/ImfInfo.h"

#include "conversion/ImfCommand.h"
#include "conversion/TicScale.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace brivane {

ImfInfo DescribeImf(const std::string& path, int originalTics)
{
    ImfInfo info;
    const ImfProbe probe = ProbeImf(path);
    info.Type = probe.Type;
    info.Reason = probe.Reason;
    if (probe.Type == ImfNotFound || probe.Type == ImfUnreadable)
        return info;

    Bytes data;
    try {
        data = ReadWholeFile(path, "the file");
    } catch (const FileError& error) {
        info.Type = ImfUnreadable;
        info.Reason = error.Reason();
        return info;
    }
    info.Size = data.size();

    std::size_t begin = 0;
    std::size_t end = data.size();
    int ticksPerSecond = originalTics;
    if (probe.Type == ImfWolfenstein) {
        begin = kLengthWordSize;
        // A one-byte file has no whole length word: its stream is empty, not negative.
        end = std::max(begin, std::min(data.size(), kLengthWordSize + ReadLe16(data.data())));
        ticksPerSecond = kWolfensteinTics;
    }
    const std::size_t streamSize = end - begin;
    info.Records = streamSize / kImfCommandSize;
    info.PartialBytes = streamSize % kImfCommandSize;

    std::uint64_t ticks = 0;
    for (std::uint64_t record = 0; record < info.Records; ++record)
        ticks += ReadLe16(data.data() + begin + record * kImfCommandSize + kDelayOffset);
    info.Seconds = static_cast<double>(ticks) / ticksPerSecond;
    return info;
}

} // namespace brivane
