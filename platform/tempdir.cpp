#include "tempdir.h"

#include "files.h"
#include "userfolders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::string UserFolderName(uid_t uid)
{
    return "sonolux-" + std::to_string(uid);
}

std::string WithoutTrailingDelimiter(std::string folder)
{
    while (folder.size() > 1 && folder.back() == PathDelimiter)
        folder.pop_back();
    return folder;
}

std::string RuntimeFolder(uid_t uid)
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] != '/')
        return std::string();
    return CheckFolder(runtime, uid) == FolderTrust::Private ? IncludeTrailingDelimiter(runtime)
                                                             : std::string();
}

std::string TempBase()
{
    const char *tmp = std::getenv("TMPDIR");
    if (tmp != nullptr && tmp[0] == '/' && DirectoryExists(tmp))
        return IncludeTrailingDelimiter(tmp);
    return "/tmp/";
}

// "sonolux-<uid>" under the temporary base, made when missing and narrowed when it is
// ours but open to others; empty when the name is taken by anything else.
std::string SharedBaseFolder(uid_t uid)
{
    const std::string own = TempBase() + UserFolderName(uid);
    ::mkdir(own.c_str(), 0700); // an existing entry is judged below
    FolderTrust trust = CheckFolder(own, uid);
    if (trust == FolderTrust::TooOpen && ::chmod(own.c_str(), 0700) == 0)
        trust = CheckFolder(own, uid);
    return trust == FolderTrust::Private ? IncludeTrailingDelimiter(own) : std::string();
}

const char *Refusal(FolderTrust trust)
{
    switch (trust) {
    case FolderTrust::Foreign:
        return "it belongs to another user";
    case FolderTrust::TooOpen:
        return "other users have access to it";
    case FolderTrust::NotFolder:
        return "it is a link or a file, not a folder";
    default:
        return "it cannot be created";
    }
}

// "sonolux-<uid>" in the user's cache folder: the same folder at every call, and never one
// that someone else could have prepared.
std::string CacheFolder(uid_t uid, const std::string &taken)
{
    const std::string cache = UserCacheFolder();
    ::mkdir(WithoutTrailingDelimiter(cache).c_str(), 0700); // one level, as XDG asks
    const std::string own = cache + UserFolderName(uid);
    const int made = ::mkdir(own.c_str(), 0700);
    const int error = errno;
    const FolderTrust trust = CheckFolder(own, uid);
    if (trust == FolderTrust::Private)
        return IncludeTrailingDelimiter(own);
    std::string reason = Refusal(trust);
    if (made != 0 && error != EEXIST)
        reason += std::string(" (") + std::strerror(error) + ")";
    throw std::runtime_error("No private temporary folder: " + taken +
                             " is taken by something not yours, and " + own +
                             " cannot be used: " + reason + ".");
}

} // namespace

FolderTrust CheckFolder(const std::string &path, uid_t owner)
{
    struct stat st
    {
    };
    if (::lstat(path.c_str(), &st) != 0)
        return FolderTrust::Missing;
    if (!S_ISDIR(st.st_mode))
        return FolderTrust::NotFolder;
    if (st.st_uid != owner)
        return FolderTrust::Foreign;
    return (st.st_mode & 077) == 0 ? FolderTrust::Private : FolderTrust::TooOpen;
}

std::string GetTempPath()
{
    return GetTempPath(::getuid());
}

std::string GetTempPath(uid_t uid)
{
    if (std::string runtime = RuntimeFolder(uid); !runtime.empty())
        return runtime;
    if (std::string shared = SharedBaseFolder(uid); !shared.empty())
        return shared;
    return CacheFolder(uid, TempBase() + UserFolderName(uid));
}

} // namespace platform
