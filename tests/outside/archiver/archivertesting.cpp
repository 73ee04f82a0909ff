#include "archivertesting.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>

extern char **environ;

namespace fs = std::filesystem;

namespace archiver_testing {

const std::vector<Format> &Formats()
{
    static const std::vector<Format> formats = {
        {"lzh", "UNLHA32.DLL", "Unlha", "x -+ -e1 -n1 -x0 ", false, '\\'},
        {"arj", "UNARJ32J.DLL", "Unarj", "x -+ -e1 -n1 -x0 ", false, '\\'},
        {"zip", "UNZIP32.DLL", "UnZip", "-x --i -j ", false, '/'},
        {"cab", "CAB32.DLL", "Cab", "-x -i -j ", false, '\\'},
        {"tar", "tar32.dll", "Tar", "x --display-dialog=0 --use-directory=0 ", true, '\\'},
        {"rar", "UNRAR32.DLL", "Unrar", "-e -u ", false, '\\'},
    };
    return formats;
}

const Format &FormatNamed(const std::string &name)
{
    for (const Format &format : Formats())
        if (format.name == name)
            return format;
    throw std::invalid_argument("no format " + name);
}

std::string PlayerCommandLine(const Format &format, const std::string &archive,
                              const std::string &folder, const std::vector<std::string> &masks)
{
    std::string line = format.command + (format.tarSyntax ? " -f" : "") + " \"" + archive + "\"" +
                       (format.tarSyntax ? " -o" : "") + " \"" + folder + format.folderMark + "\"";
    const std::vector<std::string> songMasks = {"*.mid", "*.rmi", "*.rcp", "*.r36", "*.g36"};
    for (const std::string &mask : masks.empty() ? songMasks : masks)
        line += " \"" + mask + "\"";
    return line + " ";
}

std::string KeepFoldersCommandLine(const Format &format, const std::string &archive,
                                   const std::string &folder, const std::vector<std::string> &masks)
{
    std::string line;
    if (format.tarSyntax)
        line = "x -f \"" + archive + "\" -o \"" + folder + "\\\"";
    else
        line = format.command.substr(0, format.command.find(' ')) + " \"" + archive + "\" \"" +
               folder + format.folderMark + "\"";
    if (format.name == "rar")
        line.replace(0, 2, "-x");
    for (const std::string &mask : masks)
        line += " \"" + mask + "\"";
    return line + " ";
}

Archiver::Archiver(const Format &format)
    : Archiver(format, SONOLUX_DIST_DIR)
{
}

Archiver::Archiver(const Format &format, const std::string &folder)
    : prefix_(format.prefix)
{
    platform::SetLibrarySearchFolder(folder);
    library_ = platform::DynamicLibrary::Load(format.library);
    platform::SetLibrarySearchFolder("");
}

int Archiver::Command(const std::string &line, std::string *output) const
{
    std::vector<char> buffer(8192, '\x7F');
    const int result = Entry<ARC_COMMAND>("")(nullptr, line.c_str(), buffer.data(),
                                              static_cast<uint32_t>(buffer.size()));
    if (output != nullptr)
        *output = buffer.data();
    return result;
}

std::vector<std::string> Archiver::List(const std::string &path, bool *opened) const
{
    std::vector<std::string> names;
    const HARC handle = Open(path, 0);
    if (opened != nullptr)
        *opened = handle != 0;
    if (handle == 0)
        return names;
    INDIVIDUALINFO info;
    for (int r = FindFirst(handle, "*.*", &info); r == 0; r = FindNext(handle, &info))
        names.push_back(info.szFileName);
    Close(handle);
    return names;
}

HARC Archiver::Open(const std::string &path, uint32_t mode) const
{
    return Entry<ARC_OPEN_ARCHIVE>("OpenArchive")(nullptr, path.c_str(), mode);
}

int Archiver::FindFirst(HARC handle, const char *wildcard, INDIVIDUALINFO *info) const
{
    return Entry<ARC_FIND_FIRST>("FindFirst")(handle, wildcard, info);
}

int Archiver::FindNext(HARC handle, INDIVIDUALINFO *info) const
{
    return Entry<ARC_FIND_NEXT>("FindNext")(handle, info);
}

int Archiver::Close(HARC handle) const
{
    return Entry<ARC_CLOSE_ARCHIVE>("CloseArchive")(handle);
}

int Archiver::Check(const std::string &path, int mode) const
{
    return Entry<ARC_CHECK_ARCHIVE>("CheckArchive")(path.c_str(), mode);
}

int Archiver::SetOwner(HWND window, void *callback) const
{
    return Entry<ARC_SET_OWNER_WINDOW_EX>("SetOwnerWindowEx")(window, callback);
}

int Archiver::KillOwner(HWND window) const
{
    return Entry<ARC_KILL_OWNER_WINDOW_EX>("KillOwnerWindowEx")(window);
}

int RunTool(const std::vector<std::string> &command, const std::string &folder)
{
    std::vector<std::string> copy = command;
    std::vector<char *> argv;
    for (std::string &s : copy)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

std::vector<std::string> TreeOf(const std::string &folder)
{
    std::vector<std::string> entries;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::string relative = fs::relative(it->path(), folder).string();
        if (it->is_directory(error) && !it->is_symlink(error))
            relative += "/";
        entries.push_back(relative);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

bool HasLinksOrTempFiles(const std::string &folder)
{
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (it->is_symlink(error) || name.rfind(".arcworker-", 0) == 0)
            return true;
    }
    return false;
}

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace archiver_testing
