#include "opl/ImfType.h"

#include "opl/ImfCommand.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"

namespace brivane {

ImfProbe ProbeImf(const std::string& path)
{
    const PathLookup found = LookUpPath(path);
    switch (found.Kind) {
    case PathKind::Missing:
        return {ImfNotFound, {}};
    case PathKind::Inaccessible:
        // No search permission, a name too long, a link loop: the file may well be there.
        return {ImfUnreadable, SystemReason(found.SystemError), found.SystemError};
    case PathKind::Regular:
        break;
    default:
        return {ImfNotFound, std::string("not a regular file: ") + KindName(found.Kind)};
    }
    Bytes start;
    try {
        start = ReadFileStart(path, kLengthWordSize);
    } catch (const FileError& error) {
        return {ImfUnreadable, error.Reason(), error.ErrorNumber()};
    }
    return {LayoutOfBytes(start), {}};
}

} // namespace brivane
