#pragma once

#include "capture/Capture.h"

#include <cstdint>
#include <span>
#include <vector>

namespace brivane {

// The bytes a gzip stream holds (a .vgz capture), at most kMaxCaptureBytes of them. Throws
// CaptureError when the stream does not inflate or holds more.
std::vector<std::uint8_t> Gunzip(std::span<const std::uint8_t> compressed);

} // namespace brivane
