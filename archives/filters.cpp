#include "filters.h"

#include "platform/mbcs.h"

namespace archives {

std::string JoinPath(const std::string &folder, const std::string &name, char delimiter)
{
    if (folder.empty())
        return name;
    if (platform::LastDelimiter(std::string(1, delimiter), folder) == folder.size() - 1)
        return folder + name;
    return folder + delimiter + name;
}

} // namespace archives
