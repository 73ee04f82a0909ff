// The list file reader on any bytes, and the writer on what it read: writing the entries
// and reading them back gives the same entries, with only the characters a line cannot
// hold turned into spaces and archive members' paths written as "Null".

#include "fuzzsupport.h"

#include "core/listfile.h"

#include <algorithm>
#include <cstdint>

namespace {

std::string Cleaned(std::string field)
{
    std::replace(field.begin(), field.end(), '\n', ' ');
    return field;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::vector<TPlayEntry> read =
        listfile::ParseEntries(std::string(reinterpret_cast<const char *>(data), size));
    const std::vector<TPlayEntry> again = listfile::ParseEntries(listfile::FormatEntries(read));
    if (again.size() != read.size())
        fuzzing::Fail("writing and reading back changes the number of entries");
    for (std::size_t i = 0; i < read.size(); ++i) {
        const TPlayEntry &before = read[i];
        const TPlayEntry &after = again[i];
        const std::string path = before.ArchivePath.empty() ? before.FilePath : NullPath;
        if (after.Title != Cleaned(before.Title) || after.FileName != Cleaned(before.FileName) ||
            after.FilePath != Cleaned(path) || after.ArchivePath != Cleaned(before.ArchivePath))
            fuzzing::Fail("writing and reading back changes entry " + std::to_string(i));
    }
    return 0;
}
