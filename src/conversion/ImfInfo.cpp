#include "conversion/ImfInfo.h"

#include "conversion/ImfCommand.h"
#include "conversion/TicScale.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"


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

    const bool headerless = probe.Type == ImfHeaderless;
    const std::span<const std::uint8_t> stream = CommandStream(data, headerless);
    info.Records = stream.size() / kImfCommandSize;
    info.PartialBytes = stream.size() % kImfCommandSize;

    std::uint64_t ticks = 0;
    for (std::uint64_t record = 0; record < info.Records; ++record)
        ticks += ReadLe16(stream.data() + record * kImfCommandSize + kDelayOffset);
    info.Seconds = static_cast<double>(ticks) / (headerless ? originalTics : kWolfensteinTics);
    return info;
}

} // namespace brivane
