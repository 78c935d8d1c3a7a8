#include "platform/Backend.h"
#include "platform/FileSystem.h"

namespace brivane {

const char* KindName(PathKind kind)
{
    switch (kind) {
    case PathKind::Missing: return "missing";
    case PathKind::Regular: return "a regular file";
    case PathKind::Directory: return "a directory";
    case PathKind::SymbolicLink: return backend::kSymbolicLinkName;
    case PathKind::Fifo: return backend::kFifoName;
    case PathKind::Socket: return "a socket";
    case PathKind::Device: return "a device";
    case PathKind::BlockDevice: return "a block device";
    case PathKind::Inaccessible: break;
    }
    return "not accessible";
}

} // namespace brivane
