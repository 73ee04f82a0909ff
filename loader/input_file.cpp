#include "input_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace loader {

IoStatus InputFile::Open(const char *path, Lock lock)
{
    // O_NONBLOCK: opening a pipe or a terminal must not wait for a writer.
    int fd;
    do {
        fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    fd_.Reset(fd);
    if (!fd_.Valid())
        return OpenFailure(IoCodeFromErrno(errno, FileRole::Read));

    struct stat info;
    if (::fstat(fd_.Get(), &info) != 0)
        return OpenFailure(IoCodeFromErrno(errno, FileRole::Read));
    if (!S_ISREG(info.st_mode))
        return OpenFailure(SONOLUX_IO_ACCESS_DENIED);

    const int operation = (lock == Lock::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int locked;
    do {
        locked = ::flock(fd_.Get(), operation);
    } while (locked != 0 && errno == EINTR);
    // Only a lock held by another opener refuses the file. Where the file system offers
    // no such locks (some network mounts refuse an exclusive lock on a file opened for
    // reading), the file is read unlocked rather than not at all.
    if (locked != 0 && errno == EWOULDBLOCK)
        return OpenFailure(SONOLUX_IO_SHARING_VIOLATION);
    return IoStatus();
}

IoStatus InputFile::ReadAt(uint64_t offset, void *buffer, size_t size, size_t &got) const
{
    got = 0;
    while (got < size) {
        const ssize_t count = ::pread(fd_.Get(), static_cast<char *>(buffer) + got, size - got,
                                      static_cast<off_t>(offset + got));
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return SystemFailure(FileRole::Read);
        }
        if (count == 0)
            break;
        got += static_cast<size_t>(count);
    }
    return IoStatus();
}

IoStatus InputFile::Close()
{
    // The descriptor is released even when close reports an error; never retry it.
    if (!fd_.Close() && errno != EINTR)
        return SystemFailure(FileRole::Read);
    return IoStatus();
}

} // namespace loader
