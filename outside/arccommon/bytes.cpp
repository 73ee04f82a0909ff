#include "bytes.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace arc {

bool ReadExactAt(int fd, std::uint64_t offset, void *buffer, std::size_t size)
{
    auto *out = static_cast<char *>(buffer);
    while (size > 0) {
        const ssize_t got = ::pread(fd, out, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        out += got;
        offset += static_cast<std::uint64_t>(got);
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

std::string ReadFileHead(const std::string &path, std::size_t size)
{
    std::string head(size, '\0');
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t got = 0;
    while (fd >= 0 && got < size) {
        const ssize_t n = ::pread(fd, head.data() + got, size - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (fd >= 0)
        ::close(fd);
    head.resize(got);
    return head;
}

std::uint32_t LittleEndian(const unsigned char *p, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

} // namespace arc
