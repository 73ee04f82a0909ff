#include "appstate.h"

#include "platform/dynlib.h"
#include "platform/files.h"
#include "platform/mbcs.h"

#include <sys/stat.h>
#include <unistd.h>

std::string ExeFolder;
std::string TempFolder;
std::string ConfigFolder;
std::string DataFolder;
std::array<bool, LibraryCount> LibraryPresent{};
std::string SkinName = "default.mbd";
std::string LastFolder;
std::string FormatName = "GM.MID";
bool ShowLength = false;

const std::array<LibraryProbe, LibraryCount> LibraryProbes = {{
    {"unlha32.dll", nullptr, "*.lzh;"},
    {"unzip32.dll", nullptr, "*.zip;"},
    {"cab32.dll", nullptr, "*.cab;"},
    {"unrar32.dll", "unrar.dll", "*.rar;"},
    {"tar32.dll", nullptr, "*.tar;"},
    {"unarj32j.dll", nullptr, "*.arj;"},
    {"rcpcv.dll", nullptr, "*.rcp;*.r36;*.g36;"},
}};

std::string GetExeFolder()
{
    return platform::ProgramFolder();
}

void ProbeLibraries()
{
    for (std::size_t i = 0; i < LibraryCount; ++i) {
        const LibraryProbe &probe = LibraryProbes[i];
        bool present = platform::CanLoadLibrary(probe.library);
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
    const std::string lower = platform::AsciiLowerCase(ext);
    if (lower == ".mid" || lower == ".rmi")
        return true;
    return LibraryPresent[RcpConverterFlag] &&
           (lower == ".rcp" || lower == ".r36" || lower == ".g36");
}
