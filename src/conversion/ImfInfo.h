#pragma once

#include "conversion/ImfType.h"

#include <cstdint>
#include <string>

namespace brivane {

// What the command line's "info" reports of one file.
struct ImfInfo {
    ImfType Type = ImfNotFound;
    std::string Reason;            // why an unreadable file could not be read
    std::uint64_t Size = 0;        // bytes on disk
    std::uint64_t Records = 0;     // complete 4-byte records in the command stream
    std::uint64_t PartialBytes = 0;
    double Seconds = 0;            // sum of the delays at the stream's tick rate
};

// Headerless songs are timed at originalTics; converted ones at 700, counting only the
// records inside their length word.
ImfInfo DescribeImf(const std::string& path, int originalTics);

} // namespace brivane
