#include "capture/Inflate.h"

#include <algorithm>
#include <zlib.h>

namespace brivane {

std::vector<std::uint8_t> Gunzip(std::span<const std::uint8_t> compressed)
{
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) // 16: a gzip header, not a zlib one
        throw SongReadError("its gzip stream cannot be opened");
    std::vector<std::uint8_t> out;
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    int result = Z_OK;
    while (result == Z_OK) {
        if (out.size() >= kMaxInflatedBytes) {
            inflateEnd(&stream);
            throw SongReadError("it inflates past 64 MiB");
        }
        const std::size_t had = out.size();
        out.resize(std::min(kMaxInflatedBytes + 1, std::max<std::size_t>(had * 2, 1 << 16)));
        stream.next_out = out.data() + had;
        stream.avail_out = static_cast<uInt>(out.size() - had);
        result = inflate(&stream, Z_NO_FLUSH);
        out.resize(out.size() - stream.avail_out);
    }
    inflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw SongReadError("its gzip stream does not inflate: " + std::string(result == Z_BUF_ERROR ? "it is cut short" : "it is damaged"));
    if (out.size() > kMaxInflatedBytes)
        throw SongReadError("it inflates past 64 MiB");
    return out;
}

} // namespace brivane
