#include "appstate.h"

#include "platform/dynlib.h"
#include "platform/files.h"

#include <sys/stat.h>
#include <unistd.h>

std::string ExeFolder;
std::string TempFolder;
std::string ConfigFolder;
std::string DataFolder;
formats::TLibraryFlags LibraryPresent{};
std::string SkinName = "default.mbd";
std::string LastFolder;
std::string FormatName = "GM.MID";
bool ShowLength = false;
bool ShowLyrics = false;

std::string GetExeFolder()
{
    return platform::ProgramFolder();
}

void ProbeLibraries()
{
    for (std::size_t i = 0; i < LibraryCount; ++i) {
        const formats::TLibrary &probe = formats::Libraries[i];
        bool present = platform::CanLoadLibrary(probe.name);
        if (present && probe.alsoRequired != nullptr)
            present = platform::CanLoadLibrary(probe.alsoRequired);
        LibraryPresent[i] = present;
    }
}

void EnsureTempFolder()
{
    if (!platform::DirectoryExists(TempFolder))
        ::mkdir(TempFolder.c_str(), 0700);
}

void ClearTempFolder()
{
    if (!platform::DirectoryExists(TempFolder))
        return;
    for (const platform::FolderEntry &entry : platform::ListFolder(TempFolder)) {
        if (!entry.isDirectory)
            ::unlink((TempFolder + "/" + entry.name).c_str());
    }
    ::rmdir(TempFolder.c_str());
}

bool IsSongFile(const std::string &ext)
{
    return formats::IsSongExtension(ext, LibraryPresent);
}
