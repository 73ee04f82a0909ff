#include "datafolder.h"

#include "appstate.h"

#include "platform/files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

const char *const InstalledMarkerName = "sonolux.installed";
const char *const SkinSubfolder = "skin/";
const char *const FormatSubfolder = "format/";

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
        return platform::IncludeTrailingDelimiter(variable);
    if (!IsAbsolute(home))
        throw std::runtime_error("Sonolux cannot find your home folder to keep its settings in: "
                                 "HOME is not set to an absolute path.");
    return platform::IncludeTrailingDelimiter(home) + fallback;
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

TProgramFolderKind ProgramFolderKind(const std::string &folder)
{
    if (platform::FileExists(folder + InstalledMarkerName) ||
        ::access(folder.c_str(), W_OK | X_OK) != 0)
        return TProgramFolderKind::Installed;
    return TProgramFolderKind::Portable;
}

TUserFolders InstalledUserFolders(const char *home, const char *configHome, const char *dataHome)
{
    return {BaseFolder(configHome, home, ".config/") + ProgramName,
            BaseFolder(dataHome, home, ".local/share/") + ProgramName};
}

void SetProgramFolder(const std::string &folder)
{
    ExeFolder = folder;
    if (ProgramFolderKind(folder) == TProgramFolderKind::Portable) {
        ConfigFolder = folder;
        DataFolder = folder;
        return;
    }
    const TUserFolders user = InstalledUserFolders(HomeFolder(), std::getenv("XDG_CONFIG_HOME"),
                                                   std::getenv("XDG_DATA_HOME"));
    ConfigFolder = user.config;
    DataFolder = user.data;
    try {
        MakeFolderPath(ConfigFolder);
    } catch (const std::runtime_error &) {
        // Reported by the first write of a file there, which names the file.
    }
}

std::vector<std::string> DataFileFolders(const std::string &subfolder)
{
    std::vector<std::string> folders{DataFolder + subfolder};
    if (DataFolder != ExeFolder)
        folders.push_back(ExeFolder + subfolder);
    return folders;
}

std::string FindDataFile(const std::string &subfolder, const std::string &name)
{
    const std::string own = DataFolder + subfolder + name;
    if (platform::FileExists(own))
        return own;
    return ExeFolder + subfolder + name;
}

void MakeFolderPath(const std::string &folder)
{
    // Each prefix ending before a "/" in turn, so that every missing level is made.
    const std::string path = platform::IncludeTrailingDelimiter(folder);
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string level = path.substr(0, slash);
        if (::mkdir(level.c_str(), 0700) != 0 && errno != EEXIST)
            throw std::runtime_error("Cannot create the folder " + level + ": " +
                                     std::strerror(errno));
    }
    if (!platform::DirectoryExists(path))
        throw std::runtime_error("Cannot create the folder " + path +
                                 ": a file of that name is in the way.");
}
