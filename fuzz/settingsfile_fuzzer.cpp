// The settings file reader on any file, and the writer over it: the values read, written
// back into that file and read again, come back the same (strings with a line break, which
// the profile format cannot carry, aside).

#include "fuzzsupport.h"

#include "app/settingsfile.h"
#include "platform/mbcs.h"

#include <cstdint>

namespace {

bool Storable(const std::string &value)
{
    return value.find_first_of("\r\n") == std::string::npos;
}

void CheckString(const std::string &before, const std::string &after, const char *key)
{
    if (Storable(before) && after != before)
        fuzzing::Fail(std::string("the value of ") + key + " changed when written back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    platform::SetCodePage(size % 2 == 0 ? platform::cpShiftJis : platform::cpUtf8);
    const std::string path = fuzzing::PrivateFolder() + "/Sonolux.ini";
    fuzzing::WriteWholeFile(path, data, size);

    const StoredSettings read = ReadSettingsFile(path);
    WriteSettingsFile(path, read);
    const StoredSettings again = ReadSettingsFile(path);
    if (again.barPosition != read.barPosition || again.viewPosition != read.viewPosition ||
        again.showLength != read.showLength || again.showLyrics != read.showLyrics)
        fuzzing::Fail("a position or a view option changed when written back");
    CheckString(read.skinName, again.skinName, "Skin");
    CheckString(read.lastFolder, again.lastFolder, "Dir");
    CheckString(read.formatName, again.formatName, "Format");
    return 0;
}
