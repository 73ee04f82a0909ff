#pragma once
// Joining a folder and a name in the archiver interface's path syntax.

#include <string>

namespace archives {

// name when folder is empty; folder + name when the last character of folder (by the
// process code page) is delimiter; otherwise folder + delimiter + name. The delimiter is the
// interface's backslash unless a caller joins file-system paths.
std::string JoinPath(const std::string &folder, const std::string &name, char delimiter = '\\');

} // namespace archives
