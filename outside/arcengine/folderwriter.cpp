#include "folderwriter.h"

#include "outside/include/archiver_api.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace arc {
namespace {

int WriteError(int error)
{
    if (error == ENOSPC || error == EDQUOT)
        return ERROR_DISK_SPACE;
    if (error == EFBIG)
        return ERROR_MEMBER_TOO_LARGE;
    return ERROR_CANNOT_WRITE;
}

} // namespace

bool MakeFolders(const std::string &path)
{
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (!prefix.empty())
            ::mkdir(prefix.c_str(), 0777); // existing folders answer EEXIST
        if (slash == std::string::npos) {
            struct stat info = {};
            return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        }
    }
}

FolderWriter::~FolderWriter()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int FolderWriter::Open(const std::string &folder)
{
    folder_ = folder.empty() ? std::string(".") : folder;
    while (folder_.size() > 1 && folder_.back() == '/')
        folder_.pop_back();
    MakeFolders(folder_);
    fd_ = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd_ >= 0 ? 0 : ERROR_MAKEDIRECTORY;
}

// Opens (creating) the first count parts as folders below the target, refusing links.
int FolderWriter::OpenFolders(const std::vector<std::string> &parts, std::size_t count,
                              int &folderFd)
{
    folderFd = ::dup(fd_);
    if (folderFd < 0)
        return ERROR_MAKEDIRECTORY;
    for (std::size_t i = 0; i < count; ++i) {
        if (::mkdirat(folderFd, parts[i].c_str(), 0777) != 0 && errno != EEXIST) {
            ::close(folderFd);
            return ERROR_MAKEDIRECTORY;
        }
        const int next =
            ::openat(folderFd, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        ::close(folderFd);
        if (next < 0)
            return ERROR_MAKEDIRECTORY;
        folderFd = next;
    }
    return 0;
}

std::unique_ptr<MemberFile> FolderWriter::Prepare(const std::vector<std::string> &parts, int &code)
{
    int folderFd = -1;
    code = parts.empty() ? ERROR_MEMBER_REFUSED : OpenFolders(parts, parts.size() - 1, folderFd);
    if (code != 0)
        return nullptr;
    std::string path = folder_;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i)
        path += "/" + parts[i];
    const std::string temp =
        ".arcworker-" + std::to_string(::getpid()) + "-" + std::to_string(++counter_) + ".part";
    return std::make_unique<MemberFile>(folderFd, path, parts.back(), temp);
}

int FolderWriter::MakeFolder(const std::vector<std::string> &parts)
{
    int folderFd = -1;
    const int code = OpenFolders(parts, parts.size(), folderFd);
    if (folderFd >= 0)
        ::close(folderFd);
    return code;
}

MemberFile::MemberFile(int folderFd, std::string folderPath, std::string name, std::string tempName)
    : folderFd_(folderFd)
    , name_(std::move(name))
    , tempName_(std::move(tempName))
    , tempPath_(folderPath + "/" + tempName_)
    , finalPath_(folderPath + "/" + name_)
{
}

MemberFile::~MemberFile()
{
    Discard();
    ::close(folderFd_);
}

void MemberFile::Discard()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!committed_)
        ::unlinkat(folderFd_, tempName_.c_str(), 0);
}

int MemberFile::Create()
{
    fd_ = ::openat(folderFd_, tempName_.c_str(),
                   O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    return fd_ >= 0 ? 0 : WriteError(errno);
}

int MemberFile::Write(const void *data, std::size_t size, std::uint64_t offset)
{
    const auto *bytes = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t written = ::pwrite(fd_, bytes, size, static_cast<off_t>(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return WriteError(written < 0 ? errno : ENOSPC);
        bytes += written;
        size -= static_cast<std::size_t>(written);
        offset += static_cast<std::uint64_t>(written);
    }
    return 0;
}

int MemberFile::Commit(std::uint64_t size, std::int64_t mtime)
{
    struct stat info = {};
    if (::fstat(fd_, &info) != 0)
        return WriteError(errno);
    if (static_cast<std::uint64_t>(info.st_size) < size &&
        ::ftruncate(fd_, static_cast<off_t>(size)) != 0)
        return WriteError(errno);
    if (mtime != 0) {
        const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(mtime), 0}};
        ::futimens(fd_, times);
    }
    const int result = ::close(fd_);
    fd_ = -1;
    if (result != 0)
        return WriteError(errno);
    if (::renameat(folderFd_, tempName_.c_str(), folderFd_, name_.c_str()) != 0)
        return ERROR_CANNOT_WRITE;
    committed_ = true;
    return 0;
}

} // namespace arc
