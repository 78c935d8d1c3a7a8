#pragma once

#include "opl/TimedSong.h"

namespace brivane {

// Reads a capture's little-endian fields in order; running past the end is a SongReadError
// that names what was cut short.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Left() const { return bytes_.size() - at_; }
    std::uint8_t U8(const char* what) { return static_cast<std::uint8_t>(Take(1, what)); }
    std::uint16_t U16(const char* what) { return static_cast<std::uint16_t>(Take(2, what)); }
    std::uint32_t U32(const char* what) { return static_cast<std::uint32_t>(Take(4, what)); }
    std::span<const std::uint8_t> Bytes(std::size_t count, const char* what)
    {
        Need(count, what);
        at_ += count;
        return bytes_.subspan(at_ - count, count);
    }

private:
    void Need(std::size_t count, const char* what) const
    {
        if (Left() < count)
            throw SongReadError(std::string("it ends inside ") + what);
    }
    std::uint64_t Take(std::size_t count, const char* what)
    {
        Need(count, what);
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < count; ++i)
            value |= std::uint64_t{bytes_[at_ + i]} << (8 * i);
        at_ += count;
        return value;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

// A DRO's hardware type by the names its version gives the types 0, 1 and 2.
inline std::string DroHardware(std::uint32_t type, const char* const (&names)[3])
{
    if (type > 2)
        throw SongReadError("its hardware type " + std::to_string(type) + " is none DOSBox writes");
    return names[type];
}

} // namespace brivane
