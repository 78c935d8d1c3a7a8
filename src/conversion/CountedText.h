#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brivane {

// "1 record", "2 records".
inline std::string Count(std::uint64_t count, std::string_view one, std::string_view many)
{
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

} // namespace brivane
