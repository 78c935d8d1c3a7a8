#include "games/DosExecutable.h"

#include "games/GameFile.h"

#include <algorithm>
#include <string>

namespace brivane {
namespace {

// Real mode loads no more than this; a packing that expands past it is damaged.
constexpr std::size_t kMaxImageBytes = 1u << 20;
constexpr std::size_t kHeaderParagraphsAt = 8, kCodeSegmentAt = 0x16, kMarkAt = 0x1C;
// LZEXE's own header, at the packed program's entry segment: the fifth word is the size of
// the packed image in paragraphs.
constexpr std::size_t kPackedParagraphsAt = 8, kPackerHeaderBytes = 16;

std::size_t Word(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return bytes[at] | std::size_t{bytes[at + 1]} << 8;
}

bool IsPacked(std::span<const std::uint8_t> file)
{
    static constexpr std::uint8_t kMarks[2][4] = {{'L', 'Z', '9', '1'}, {'L', 'Z', '0', '9'}};
    return std::any_of(std::begin(kMarks), std::end(kMarks), [&](const std::uint8_t(&mark)[4]) {
        return file.size() >= kMarkAt + 4 && std::equal(mark, mark + 4, file.begin() + kMarkAt);
    });
}

// LZEXE's bit stream: 16-bit little-endian words whose bits are taken lowest first, the next
// word read as soon as the last bit of one is taken; the bytes of copies and literals lie
// between the words.
class PackedStream {
public:
    explicit PackedStream(std::span<const std::uint8_t> packed) : packed_(packed) { word_ = NextWord(); }

    bool Bit()
    {
        const bool bit = word_ & 1;
        if (--left_ == 0) {
            word_ = NextWord();
            left_ = 16;
        } else {
            word_ >>= 1;
        }
        return bit;
    }

    std::uint8_t Byte()
    {
        if (at_ >= packed_.size())
            throw GameFileError("its packed image breaks off before its end mark");
        return packed_[at_++];
    }

private:
    std::size_t NextWord()
    {
        const std::size_t low = Byte();
        return low | std::size_t{Byte()} << 8;
    }

    std::span<const std::uint8_t> packed_;
    std::size_t at_ = 0, word_ = 0;
    unsigned left_ = 16;
};

std::vector<std::uint8_t> Unpack(std::span<const std::uint8_t> packed)
{
    PackedStream stream(packed);
    std::vector<std::uint8_t> image;
    for (;;) {
        if (stream.Bit()) {
            image.push_back(stream.Byte());
            continue;
        }
        std::size_t length = 0, back = 0;
        if (!stream.Bit()) {
            const std::size_t high = stream.Bit() ? 2 : 0;
            length = high + (stream.Bit() ? 1 : 0) + 2;
            back = 0x100 - stream.Byte();
        } else {
            const std::size_t low = stream.Byte(), high = stream.Byte();
            back = 0x2000 - (low | (high & 0xF8) << 5);
            length = (high & 7) + 2;
            if (length == 2) {
                length = stream.Byte();
                if (length == 0)
                    return image; // the end mark
                if (length == 1)
                    continue; // a segment change, which only the packer's own copy loop needs
                ++length;
            }
        }
        if (back > image.size())
            throw GameFileError("its packed image copies from before its start");
        if (image.size() + length > kMaxImageBytes)
            throw GameFileError("its packed image expands past the 1 MiB a DOS program may take");
        for (; length > 0; --length)
            image.push_back(image[image.size() - back]);
    }
}

} // namespace

ExecutableImage ReadExecutableImage(std::span<const std::uint8_t> file)
{
    if (file.size() < kMarkAt || file[0] != 'M' || file[1] != 'Z')
        throw GameFileError("it is not a DOS executable");
    const std::size_t headerBytes = 16 * Word(file, kHeaderParagraphsAt);
    if (headerBytes > file.size())
        throw GameFileError("its header runs past its end");
    if (!IsPacked(file))
        return {{file.begin() + static_cast<std::ptrdiff_t>(headerBytes), file.end()}, false, headerBytes};
    // The packed image lies before the unpacker, whose header tells its size.
    const std::size_t unpacker = headerBytes + 16 * Word(file, kCodeSegmentAt);
    if (unpacker + kPackerHeaderBytes > file.size())
        throw GameFileError("its LZEXE header lies past its end");
    const std::size_t packedBytes = 16 * Word(file, unpacker + kPackedParagraphsAt);
    if (packedBytes > unpacker - headerBytes)
        throw GameFileError("its LZEXE header gives a packed image larger than the file");
    const std::size_t start = unpacker - packedBytes;
    return {Unpack(file.subspan(start, file.size() - start)), true, 0};
}

} // namespace brivane
