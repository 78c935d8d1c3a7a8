#include "conversion/ImfType.h"

#include "conversion/ImfCommand.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"

namespace brivane {

ImfProbe ProbeImf(const std::string& path)
{
    if (LookUpPath(path) != PathKind::Regular)
        return {ImfNotFound, {}};
    Bytes start;
    try {
        start = ReadFileStart(path, kLengthWordSize);
    } catch (const FileError& error) {
        return {ImfUnreadable, error.Reason()};
    }
    // Bytes the file does not have count as zero: an empty file reads as 0.
    start.resize(kLengthWordSize, 0);
    return {ReadLe16(start.data()) == 0 ? ImfHeaderless : ImfWolfenstein, {}};
}

} // namespace brivane
