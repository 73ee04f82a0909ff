// libunarj32j.so: the archiver library for ARJ archives, methods 0 to 4, with our own decoder.

#include "outside/arcclient/libraryentries.h"

namespace {

const arc::LibraryProfile profile = {arc::ArchiveKind::Arj, arc::CommandStyle::Lha};

} // namespace

ARCHIVER_LIBRARY_ENTRIES(Unarj, profile)
