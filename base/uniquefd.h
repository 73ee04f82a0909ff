#pragma once
// A file descriptor owned by one object, closed when the object goes.

#include <unistd.h>

namespace base {

class UniqueFd
{
public:
    UniqueFd() = default;
    // Takes fd over; a negative fd stands for none.
    explicit UniqueFd(int fd) noexcept
        : fd_(fd)
    {
    }
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd &&other) noexcept
        : fd_(other.Release())
    {
    }
    UniqueFd &operator=(UniqueFd &&other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueFd(const UniqueFd &) = delete;
    UniqueFd &operator=(const UniqueFd &) = delete;

    int Get() const noexcept { return fd_; }
    bool Valid() const noexcept { return fd_ >= 0; }

    // Gives the descriptor up without closing it.
    int Release() noexcept
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    // Closes the descriptor held (if any) and takes fd over.
    void Reset(int fd = -1) noexcept
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    // Closes now and says whether close succeeded (errno tells why not). The descriptor is
    // gone either way and must not be closed again. True when none was held.
    bool Close() noexcept
    {
        const int fd = Release();
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_ = -1;
};

} // namespace base
