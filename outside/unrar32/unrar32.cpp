// libunrar32.so: the archiver library for RAR 4 and RAR 5 archives, read through the engine in
// libunrar.so.

#include "outside/arcclient/libraryentries.h"

namespace {

const arc::LibraryProfile profile = {arc::ArchiveKind::Rar, arc::CommandStyle::Rar};

} // namespace

ARCHIVER_LIBRARY_ENTRIES(Unrar, profile)
