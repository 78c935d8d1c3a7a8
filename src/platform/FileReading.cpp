#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/Backend.h"

#include <algorithm>
#include <limits>

namespace brivane {
namespace {

// A file's first bytes (a signature) need no size: asking for it costs about as much as
// reading them.
std::size_t ExpectedSize(const FileDescriptor& file, std::size_t limit, const std::string& what, std::size_t from)
{
    if (limit <= 4096)
        return limit;
    const std::size_t hint = backend::SizeHint(file, what);
    return std::min(limit, hint > from ? hint - from : 0);
}

// Reads from `from` until the end or `limit` bytes, growing the buffer past the size the
// system gave.
Bytes ReadUpTo(const FileDescriptor& file, std::size_t limit, const std::string& what, std::size_t from = 0)
{
    Bytes data(ExpectedSize(file, limit, what, from));
    std::size_t filled = 0;
    while (filled < limit) {
        if (filled == data.size())
            data.resize(std::min(limit, data.size() + 4096));
        const std::size_t read = backend::ReadAt(file, from + filled, data.data() + filled, data.size() - filled, what);
        if (read == 0)
            break;
        filled += read;
    }
    data.resize(filled);
    return data;
}

} // namespace

Bytes ReadFileStart(const std::string& path, std::size_t count)
{
    return ReadUpTo(backend::OpenForReading(path, Links::Follow, path), count, path);
}

Bytes ReadFileStart(const FileDescriptor& file, std::size_t count, const std::string& what)
{
    return ReadUpTo(file, count, what);
}

FileDescriptor OpenForReading(const std::string& path, const std::string& what)
{
    return backend::OpenForReading(path, Links::Follow, what);
}

std::uint64_t SizeOf(const FileDescriptor& file, const std::string& what)
{
    return backend::SizeHint(file, what);
}

Bytes ReadFileRange(const std::string& path, std::size_t offset, std::size_t count)
{
    return ReadUpTo(backend::OpenForReading(path, Links::Follow, path), count, path, offset);
}

Bytes ReadWholeFile(const std::string& path, const std::string& what, Links links)
{
    return ReadUpTo(backend::OpenForReading(path, links, what), std::numeric_limits<std::size_t>::max(), what);
}

Bytes ReadWholeFile(const FileDescriptor& file, const std::string& what)
{
    return ReadUpTo(file, std::numeric_limits<std::size_t>::max(), what);
}

} // namespace brivane
