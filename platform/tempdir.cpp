#include "tempdir.h"

#include "files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// True when path is a real folder (not a link) owned by this user; narrows its mode to 0700.
bool IsPrivateFolder(const std::string &path, bool narrow)
{
    struct stat st
    {
    };
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & 077) == 0)
        return true;
    return narrow && ::chmod(path.c_str(), 0700) == 0;
}

std::string RuntimeFolder()
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] != '/')
        return std::string();
    return IsPrivateFolder(runtime, false) ? IncludeTrailingDelimiter(runtime) : std::string();
}

std::string BaseFolder()
{
    const char *tmp = std::getenv("TMPDIR");
    if (tmp != nullptr && tmp[0] == '/' && DirectoryExists(tmp))
        return IncludeTrailingDelimiter(tmp);
    return "/tmp/";
}

} // namespace

std::string GetTempPath()
{
    if (std::string runtime = RuntimeFolder(); !runtime.empty())
        return runtime;

    const std::string base = BaseFolder();
    const std::string own = base + "sonolux-" + std::to_string(::getuid());
    if (::mkdir(own.c_str(), 0700) == 0 || errno == EEXIST) {
        if (IsPrivateFolder(own, true))
            return IncludeTrailingDelimiter(own);
    }

    // The usual name is taken by something that is not ours: make a fresh one.
    std::string pattern = own + "-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr)
        return IncludeTrailingDelimiter(pattern);
    throw std::runtime_error("No private temporary folder can be made under " + base + ": " +
                             std::strerror(errno));
}

} // namespace platform
