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

// $XDG_..._HOME when usable, else home + fallback.
std::string BaseFolder(const char *variable, const char *home, const char *fallback)
{
    if (IsAbsolute(variable))
        return IncludeTrailingDelimiter(variable);
    if (!IsAbsolute(home))
        throw std::runtime_error("Sonolux cannot find your home folder to keep its settings in: "
                                 "HOME is not set to an absolute path.");
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
