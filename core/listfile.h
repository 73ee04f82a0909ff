#pragma once
// The list file "Sonolux.lst": the play list kept in the user's ConfigFolder between runs.
//
// Plain text holding the entries' bytes as they are, four lines per entry in list order,
// each line ending in CR LF: Title, FileName, FilePath ("Null" for every archive member)
// and ArchivePath (empty for a plain file). There is no header and no escaping.
//
// Reading takes a line up to its CR and skips the LF after it; a Ctrl-Z (0x1A) or the end
// of the data ends the file, and lines missing at the end read as empty.

#include "core/playqueue.h"

#include <cstddef>
#include <string>
#include <vector>

namespace listfile {

// The file's name in the program folder.
extern const char *const ListFileName;
// The caption of the window that lists the songs dropped at Load (one trailing space).
extern const char *const MissingCaption;

// ConfigFolder + "Sonolux.lst".
std::string ListFilePath();

// The entries of list file data, in file order, with empty markers.
std::vector<TPlayEntry> ParseEntries(const std::string &data);

// The list file data of entries. An archive member's path is written as "Null". CR, LF and
// Ctrl-Z inside a field are written as spaces, so that no field can shift the ones after it
// or end the file early when it is read back.
std::string FormatEntries(const std::vector<TPlayEntry> &entries);

// The entries of a freshly read list split into those whose file still exists and a report
// of the others. A plain entry is kept when a file exists at FilePath, else reported as
// FileName CR LF. An entry whose FilePath is "Null" is kept when its archive exists, else
// reported as FileName TAB "[" ArchivePath "]" CR LF. Order is kept in both.
struct CheckedEntries
{
    std::vector<TPlayEntry> kept;
    std::string report; // empty when every entry was kept
};
CheckedEntries CheckEntries(std::vector<TPlayEntry> entries);

// The largest list file read, in bytes and in entries: far beyond any user's list, small
// enough that reading one cannot exhaust memory.
constexpr std::size_t MaxListFileBytes = std::size_t{64} << 20;
constexpr std::size_t MaxListEntries = 1000000;

// Reads and parses the list file at path. Throws std::runtime_error naming the file when it
// cannot be opened or read, or is larger than the bounds above.
std::vector<TPlayEntry> ReadListFile(const std::string &path);

// Replaces the list file at path with entries, atomically: on failure (std::runtime_error
// naming the file) the previous file stays whole.
void WriteListFile(const std::string &path, const std::vector<TPlayEntry> &entries);

} // namespace listfile
