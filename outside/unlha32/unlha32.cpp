// libunlha32.so: the archiver library for LHA archives (.lzh, also behind a
// self-extractor's program).

#include "outside/arcclient/libraryentries.h"

namespace {

const arc::LibraryProfile profile = {arc::ArchiveKind::Lha, arc::CommandStyle::Lha};

} // namespace

ARCHIVER_LIBRARY_ENTRIES(Unlha, profile)
