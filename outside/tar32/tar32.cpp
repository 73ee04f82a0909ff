// libtar32.so: the archiver library for TAR archives, plain or compressed (gzip, bzip2, compress,
// xz, zstd), and lone compressed files.

#include "outside/arcclient/libraryentries.h"

namespace {

const arc::LibraryProfile profile = {arc::ArchiveKind::Tar, arc::CommandStyle::Tar};

} // namespace

ARCHIVER_LIBRARY_ENTRIES(Tar, profile)

extern "C" ARC_EXPORT int TarGetArchiveType(const char *archivePath)
{
    return arc::TarGetArchiveTypeEntry(archivePath);
}
