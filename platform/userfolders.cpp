#include "userfolders.h"

#include "files.h"

#include <cstdlib>
#include <pwd.h>
#include <stdexcept>
#include <unistd.h>

namespace platform {

const char *const InstalledMarkerName = "sonolux.installed";

namespace {

constexpr const char *ProgramName = "sonolux/";

bool IsAbsolute(const char *path)
{
    return path != nullptr && path[0] == '/';
}

// $XDG_..._HOME when usable, else home + fallback; purpose completes the error message.
std::string BaseFolder(const char *variable, const char *home, const char *fallback,
                       const char *purpose = "to keep its settings in")
{
    if (IsAbsolute(variable))
        return IncludeTrailingDelimiter(variable);
    if (!IsAbsolute(home))
        throw std::runtime_error(std::string("Sonolux cannot find your home folder ") + purpose +
                                 ": HOME is not set to an absolute path.");
    return IncludeTrailingDelimiter(home) + fallback;
}

const char *HomeFolder()
{
    const char *home = std::getenv("HOME");
    if (IsAbsolute(home))
        return home;
    const passwd *entry = ::getpwuid(::getuid());
    return entry != nullptr ? entry->pw_dir : nullptr;
}

} // namespace

std::string UserCacheFolder()
{
    return BaseFolder(std::getenv("XDG_CACHE_HOME"), HomeFolder(), ".cache/",
                      "for its private temporary folder");
}

ProgramFolderType ProgramFolderKind(const std::string &folder)
{
    if (FileExists(folder + InstalledMarkerName) || ::access(folder.c_str(), W_OK | X_OK) != 0)
        return ProgramFolderType::Installed;
    return ProgramFolderType::Portable;
}

UserFolders InstalledUserFolders(const char *home, const char *configHome, const char *dataHome)
{
    return {BaseFolder(configHome, home, ".config/") + ProgramName,
            BaseFolder(dataHome, home, ".local/share/") + ProgramName};
}

UserFolders UserFoldersFor(const std::string &folder)
{
    if (ProgramFolderKind(folder) == ProgramFolderType::Portable)
        return {folder, folder};
    return InstalledUserFolders(HomeFolder(), std::getenv("XDG_CONFIG_HOME"),
                                std::getenv("XDG_DATA_HOME"));
}

} // namespace platform
