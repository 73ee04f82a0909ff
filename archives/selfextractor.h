#pragma once
// Writing a self-extracting executable: a head program followed by the whole archive.

#include <string>

namespace archives {

// The executable's path: archiveName with its extension changed to ".EXE", placed in folder
// (by its name part) when folder is not empty.
std::string SelfExtractorName(const std::string &archiveName, const std::string &folder);

// Writes head + archive to SelfExtractorName(archiveName, folder), replacing an existing
// file atomically, and returns its path. Both inputs are read in full before anything is
// written, so an executable that replaces its own archive still holds all of it. Throws
// std::runtime_error naming the file when a read or the write fails; nothing is left
// half-written.
std::string WriteSelfExtractor(const std::string &headPath, const std::string &archiveName,
                               const std::string &folder);

} // namespace archives
