#include "filewindow.h"

#include <algorithm>
#include <archive.h>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace arc {
namespace {

FileWindow &WindowOf(void *data)
{
    return *static_cast<FileWindow *>(data);
}

la_ssize_t ReadCallback(struct archive *a, void *data, const void **buffer)
{
    return static_cast<la_ssize_t>(WindowOf(data).Read(a, buffer));
}

la_int64_t SkipCallback(struct archive *, void *data, la_int64_t request)
{
    return WindowOf(data).Skip(request);
}

la_int64_t SeekCallback(struct archive *, void *data, la_int64_t offset, int whence)
{
    return WindowOf(data).Seek(offset, whence);
}

} // namespace

std::unique_ptr<FileWindow> FileWindow::Open(const std::string &path, std::uint64_t start)
{
    std::unique_ptr<FileWindow> window(new FileWindow());
    window->fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info = {};
    if (window->fd_ < 0 || ::fstat(window->fd_, &info) != 0 || info.st_size < 0 ||
        static_cast<std::uint64_t>(info.st_size) < start)
        return nullptr;
    window->start_ = start;
    window->size_ = static_cast<std::uint64_t>(info.st_size) - start;
    return window;
}

FileWindow::~FileWindow()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int FileWindow::OpenArchive(struct archive *a)
{
    archive_read_set_callback_data(a, this);
    archive_read_set_read_callback(a, ReadCallback);
    archive_read_set_skip_callback(a, SkipCallback);
    archive_read_set_seek_callback(a, SeekCallback);
    return archive_read_open1(a);
}

long long FileWindow::Read(struct archive *a, const void **data)
{
    *data = buffer_.data();
    for (;;) {
        const std::uint64_t left = size_ - std::min(size_, position_);
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer_.size(), left));
        if (want == 0)
            return 0;
        const ssize_t got =
            ::pread(fd_, buffer_.data(), want, static_cast<off_t>(start_ + position_));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            archive_set_error(a, errno, "cannot read the archive");
            return ARCHIVE_FATAL;
        }
        position_ += static_cast<std::uint64_t>(got);
        return got;
    }
}

long long FileWindow::Skip(long long request)
{
    if (request <= 0)
        return 0;
    const std::uint64_t left = size_ - std::min(size_, position_);
    const std::uint64_t step = std::min<std::uint64_t>(left, static_cast<std::uint64_t>(request));
    position_ += step;
    return static_cast<long long>(step);
}

long long FileWindow::Seek(long long offset, int whence)
{
    long long base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<long long>(position_);
    else if (whence == SEEK_END)
        base = static_cast<long long>(size_);
    else if (whence != SEEK_SET)
        return ARCHIVE_FATAL;
    const auto size = static_cast<long long>(size_);
    if (offset < -base || offset > size - base)
        return ARCHIVE_FATAL;
    const long long target = base + offset;
    position_ = static_cast<std::uint64_t>(target);
    return target;
}

} // namespace arc
