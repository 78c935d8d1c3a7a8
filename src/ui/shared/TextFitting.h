#pragma once

#include <functional>
#include <string>

namespace brivane {

// Whether a text fits the room it is meant for, measured in the control's font.
using FitsRoom = std::function<bool(const std::string& text)>;

// A path (UTF-8) as it fits: unchanged when it does, otherwise a middle part replaced by
// "...", keeping the start and as much as possible after the last separator; when not even
// the last name fits, the end of it.
std::string ElidePath(const std::string& path, const FitsRoom& fits);

} // namespace brivane
