#include "recordwriter.h"

#include <cerrno>
#include <unistd.h>

namespace arc {

void RecordWriter::Put(const std::string &record)
{
    buffer_ += record;
    if (buffer_.size() >= 32 * 1024)
        Flush();
}

void RecordWriter::Flush()
{
    std::size_t done = 0;
    while (!failed_ && done < buffer_.size()) {
        const ssize_t written = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            failed_ = true;
        else
            done += static_cast<std::size_t>(written);
    }
    buffer_.clear();
}

} // namespace arc

namespace arc {

bool RecordWriter::Confirm()
{
    if (replyFd_ < 0)
        return true;
    Flush();
    char answer = 0;
    ssize_t got = 0;
    do {
        got = ::read(replyFd_, &answer, 1);
    } while (got < 0 && errno == EINTR);
    return got == 1 && answer == 'y';
}

} // namespace arc
