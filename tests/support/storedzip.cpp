#include "support/storedzip.h"

#include "support/tempfolder.h"

#include <cstdlib>

namespace testing_support {

bool WriteStoredZip(const std::string &path, const Members &members)
{
    TempFolder staging;
    std::string names;
    for (const auto &[name, bytes] : members) {
        staging.Write(name, bytes);
        names += " '" + name + "'";
    }
    const std::string command =
        "cd '" + staging.Path() + "' && zip -q -0 -X '" + path + "'" + names;
    return std::system(command.c_str()) == 0;
}

} // namespace testing_support
