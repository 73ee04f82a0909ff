#pragma once
// Choosing the back-end of an archive format.

#include "archiver.h"
#include "archivertype.h"

#include <memory>

namespace archives {

// A new back-end for type atLha … atRar (TLha32, TZip32, TCab32, TArj32, TTar32, TTgz32,
// TBZ232, TRar32). Creating it loads its library and raises the format's missing-library
// message when it cannot; any other type raises
// "現在のバージョンではこの形式の書庫をサポートしていません。".
std::unique_ptr<TArchiver> CreateArchiver(TArchiverType type);

// Unloads the libraries of every back-end unit and forgets their cached entries; the next
// back-end or probe loads them afresh. Back-end objects must not be in use.
void FreeArchiverDLLs();

} // namespace archives
