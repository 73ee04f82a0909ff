#include "files.h"

#include "mbcs.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::runtime_error FileError(const std::string &what, const std::string &path, int error)
{
    return std::runtime_error(what + " " + path + ": " + std::strerror(error));
}

bool WriteAll(int fd, const std::string &data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string ResolveLink(const std::string &path)
{
    struct stat st
    {
    };
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return path;
    return resolved;
}

} // namespace

std::string ExtractFileName(const std::string &path)
{
    const auto slash = LastDelimiter("/", path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtractFileDir(const std::string &path)
{
    const auto slash = LastDelimiter("/", path);
    if (slash == std::string::npos)
        return std::string();
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string ExtractFileExt(const std::string &path)
{
    const auto dot = LastDelimiter("./", path);
    if (dot == std::string::npos || path[dot] != '.')
        return std::string();
    return path.substr(dot);
}

std::string ChangeFileExt(const std::string &path, const std::string &ext)
{
    const auto dot = LastDelimiter("./", path);
    if (dot == std::string::npos || path[dot] != '.')
        return path + ext;
    return path.substr(0, dot) + ext;
}

std::string IncludeTrailingDelimiter(const std::string &folder)
{
    if (!folder.empty() && folder.back() == PathDelimiter)
        return folder;
    return folder + PathDelimiter;
}

bool FileExists(const std::string &path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string &path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<FolderEntry> ListFolder(const std::string &folder, const std::string &mask)
{
    std::vector<FolderEntry> entries;
    DIR *dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return entries;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || !MatchesMask(name, mask))
            continue;
        bool isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK)
            isDirectory = DirectoryExists(IncludeTrailingDelimiter(folder) + name);
        entries.push_back({name, isDirectory});
    }
    ::closedir(dir);
    return entries;
}

std::string ReadFile(const std::string &path)
{
    return ReadFile(path, std::string().max_size());
}

std::string ReadFile(const std::string &path, std::size_t maxBytes)
{
    // O_NONBLOCK so that a named pipe in the file's place cannot hold the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        throw FileError("Cannot open", path, errno);
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw std::runtime_error("Cannot read " + path + ": it is not a file");
    }
    const auto tooLarge = [&] {
        ::close(fd);
        return FileTooLargeError("Cannot read " + path + ": it is larger than " +
                                 std::to_string(maxBytes) + " bytes");
    };
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes)
        throw tooLarge();
    std::string data;
    data.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            throw FileError("Cannot read", path, error);
        }
        if (n == 0)
            break;
        if (static_cast<std::size_t>(n) > maxBytes - data.size())
            throw tooLarge(); // it grew while being read
        data.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return data;
}

void WriteFileAtomic(const std::string &path, const std::string &data)
{
    static std::atomic<unsigned> counter{0};
    const std::string target = ResolveLink(path);
    struct stat old
    {
    };
    const bool replacing = ::stat(target.c_str(), &old) == 0;

    // A new file gets the usual 0666 less the umask; a replaced one keeps its permissions.
    int fd = -1;
    std::string temporary;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        throw FileError("Cannot write", path, errno);
    if (replacing)
        ::fchmod(fd, old.st_mode & 07777);

    const bool written = WriteAll(fd, data) && ::fsync(fd) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        const int error = written ? errno : writeError;
        ::unlink(temporary.c_str());
        throw FileError("Cannot write", path, error);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw FileError("Cannot write", path, error);
    }
}

std::string ProgramFolder()
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "./";
    return IncludeTrailingDelimiter(
        ExtractFileDir(std::string(buffer, static_cast<std::size_t>(n))));
}

} // namespace platform
