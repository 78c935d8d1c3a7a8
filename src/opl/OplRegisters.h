#pragma once

#include <cstdint>

namespace brivane {

// Whether an OPL2 has this register. Register 0 is none, but IMF songs write it to carry a
// delay alone, so it counts; so do the operator rows' unused slots, which players write.
constexpr bool IsOpl2Register(std::uint8_t reg)
{
    const auto within = [reg](unsigned first, unsigned last) { return reg >= first && reg <= last; };
    return reg <= 0x04 || reg == 0x08 || within(0x20, 0x35) || within(0x40, 0x55) || within(0x60, 0x75) ||
           within(0x80, 0x95) || within(0xA0, 0xA8) || within(0xB0, 0xB8) || reg == 0xBD || within(0xC0, 0xC8) ||
           within(0xE0, 0xF5);
}

} // namespace brivane
