// libcab32.so: the archiver library for Microsoft cabinet archives.

#include "outside/arcclient/libraryentries.h"

namespace {

const arc::LibraryProfile profile = {arc::ArchiveKind::Cab, arc::CommandStyle::Cab};

} // namespace

ARCHIVER_LIBRARY_ENTRIES(Cab, profile)
