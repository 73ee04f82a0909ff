#include "filerange.h"

#include <cerrno>
#include <unistd.h>

namespace codec {

FileRange::FileRange(int fd, std::uint64_t offset, std::uint64_t length)
    : fd_(fd)
    , offset_(offset)
    , left_(length)
{
}

std::size_t FileRange::Read(unsigned char *buffer, std::size_t size)
{
    if (size > left_)
        size = static_cast<std::size_t>(left_);
    while (size > 0) {
        const ssize_t got = ::pread(fd_, buffer, size, static_cast<off_t>(offset_));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            failed_ = true;
            truncated_ = got == 0;
            left_ = 0;
            return 0;
        }
        offset_ += static_cast<std::uint64_t>(got);
        left_ -= static_cast<std::uint64_t>(got);
        return static_cast<std::size_t>(got);
    }
    return 0;
}

} // namespace codec
