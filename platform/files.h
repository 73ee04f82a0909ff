#pragma once
// Byte-exact file system helpers. Names are byte strings as the file system holds
// them: nothing is decoded, so a Shift-JIS name extracted from an old archive is
// found, listed and deleted exactly as it is.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// The path separator of this platform.
constexpr char PathDelimiter = '/';

// Name part of a path: everything after the last "/" (multibyte-aware).
std::string ExtractFileName(const std::string &path);
// Folder part of a path without a trailing "/" ("/" itself for a file in the root).
std::string ExtractFileDir(const std::string &path);
// Extension of the name part: from its last "." to the end, dot included; empty when none.
std::string ExtractFileExt(const std::string &path);
// path with its extension replaced by ext (ext includes its dot, may be empty).
std::string ChangeFileExt(const std::string &path, const std::string &ext);
// folder with exactly one trailing "/" (a folder "/" stays "/").
std::string IncludeTrailingDelimiter(const std::string &folder);

bool FileExists(const std::string &path);      // a regular file (links followed)
bool DirectoryExists(const std::string &path); // a folder (links followed)

struct FolderEntry
{
    std::string name;
    bool isDirectory = false;
};
// Entries of folder whose names match mask (see MatchesMask), in the order the file
// system returns them, without "." and "..". An unreadable or missing folder lists nothing.
std::vector<FolderEntry> ListFolder(const std::string &folder, const std::string &mask = "*");

// Whole-file reads and writes. ReadFile throws std::runtime_error naming the file; it reads
// regular files only, so a pipe or device in a file's place is refused, never waited on.
std::string ReadFile(const std::string &path);

// Raised by the bounded ReadFile for a file longer than its bound.
class FileTooLargeError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
// ReadFile of a file that may hold at most maxBytes: a longer one throws FileTooLargeError
// (naming the file) as soon as the bound is passed, so memory stays bounded whatever the
// file's size.
std::string ReadFile(const std::string &path, std::size_t maxBytes);
// Replaces path with data atomically: the data goes to a temporary file beside it, is
// flushed to disk and then renamed over path, so path is always either the old file or
// the new one, never half of either. A symbolic link is followed and its target replaced.
// Throws std::runtime_error naming the file when anything fails; path is then untouched.
void WriteFileAtomic(const std::string &path, const std::string &data);

// The folder of the running program, ending in "/".
std::string ProgramFolder();

} // namespace platform
