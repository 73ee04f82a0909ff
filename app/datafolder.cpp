#include "datafolder.h"

#include "appstate.h"

#include "platform/files.h"
#include "platform/userfolders.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>

const char *const SkinSubfolder = "skin/";
const char *const FormatSubfolder = "format/";

void SetProgramFolder(const std::string &folder)
{
    ExeFolder = folder;
    const platform::UserFolders user = platform::UserFoldersFor(folder);
    ConfigFolder = user.config;
    DataFolder = user.data;
    if (ConfigFolder == folder)
        return;
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
