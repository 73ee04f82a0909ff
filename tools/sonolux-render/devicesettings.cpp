#include "devicesettings.h"

#include "platform/files.h"
#include "platform/userfolders.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <stdexcept>
#include <unistd.h>

namespace render {

namespace {

// The absolute, resolved path of a readable regular file. Throws std::runtime_error.
std::string ReadableFile(const std::string &path)
{
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr || ::access(resolved, R_OK) != 0)
        throw std::runtime_error("Cannot read the device settings \"" + path +
                                 "\": " + std::strerror(errno));
    if (!platform::FileExists(resolved))
        throw std::runtime_error("Cannot read the device settings \"" + path +
                                 "\": it is not a file.");
    return resolved;
}

} // namespace

mci::OutputConfig ReadDeviceSettings(const std::string &programFolder,
                                     const std::string &midimapFile)
{
    if (midimapFile.empty())
        return mci::ReadOutputConfig(platform::UserFoldersFor(programFolder).config);
    return mci::ReadOutputConfigFile(ReadableFile(midimapFile));
}

} // namespace render
