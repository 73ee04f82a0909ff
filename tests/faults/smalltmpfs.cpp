#include "smalltmpfs.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

namespace testing_support {
namespace {

std::runtime_error SystemError(const std::string &what)
{
    return std::runtime_error(what + ": " + std::strerror(errno) +
                              " (the fault tests that mount a tmpfs must run as root)");
}

} // namespace

SmallTmpfs::SmallTmpfs(std::string folder, std::size_t sizeBytes)
    : folder_(std::move(folder))
{
    const std::string options = "size=" + std::to_string(sizeBytes) + ",mode=0700";
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0)
        throw SystemError("cannot mount a tmpfs on " + folder_);
    mounted_ = true;
}

SmallTmpfs::~SmallTmpfs()
{
    if (mounted_ && ::umount2(folder_.c_str(), 0) != 0)
        ::umount2(folder_.c_str(), MNT_DETACH);
}

void SmallTmpfs::Fill(std::size_t room)
{
    const std::string path = folder_ + "/filler";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        throw SystemError("cannot create " + path);
    const std::vector<char> block(4096, 'x');
    ssize_t written = 0;
    do {
        written = ::write(fd, block.data(), block.size());
    } while (written > 0);
    // Fill the last partial block byte by byte.
    while (::write(fd, block.data(), 1) == 1) {
    }
    const int error = errno;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    const bool shrunk = ::ftruncate(fd, size > off_t(room) ? size - off_t(room) : 0) == 0;
    ::close(fd);
    if (error != ENOSPC || !shrunk) {
        errno = error;
        throw SystemError("cannot fill " + folder_);
    }
}

void SmallTmpfs::MakeReadOnly()
{
    if (::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
        throw SystemError("cannot remount " + folder_ + " read-only");
}

} // namespace testing_support
