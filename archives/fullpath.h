#pragma once
// Full paths of archive names, as the libraries are handed them.

#include <string>

namespace archives {

// name made absolute against the current folder, with "." and ".." segments and repeated
// "/" removed; links are not resolved and the file need not exist. A name that already
// is absolute in the archiver interface's drive syntax ("C:\...") comes back unchanged.
// The text up to a NUL character counts; an empty name gives an empty result.
std::string ExpandFileName(const std::string &name);

// The first file called name found in the program folder, the current folder, or a folder
// of the search path (PATH), in that order; empty when none holds it.
std::string SearchFilePath(const std::string &name);

} // namespace archives
