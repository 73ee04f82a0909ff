// libunzip32.so: the archiver library for ZIP archives.

#include "outside/arcclient/libraryentries.h"

namespace {

const arc::LibraryProfile profile = {arc::ArchiveKind::Zip, arc::CommandStyle::Zip};

} // namespace

ARCHIVER_LIBRARY_ENTRIES(UnZip, profile)
