#include "platform/mci/songfile.h"

#include "platform/mci/mcierror.h"
#include "platform/mci/smfparser.h"

#include "base/uniquefd.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mci {

namespace {

[[noreturn]] void Fail(const std::string &path, const std::string &what)
{
    throw EMCIDeviceError("\"" + path + "\" " + what + ".");
}

void CheckSize(const std::string &path, const struct stat &info)
{
    if (static_cast<unsigned long long>(info.st_size) > kMaxSongBytes)
        Fail(path, "is too large for a MIDI file (more than " +
                       std::to_string(kMaxSongBytes >> 20) + " MB)");
}

} // namespace

void CheckSongFileSize(const std::string &path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        CheckSize(path, info);
}

std::string ReadSongFile(const std::string &path)
{
    // O_NONBLOCK so that a named pipe in the song's place cannot hold the open.
    const base::UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            Fail(path, "cannot be found");
        Fail(path, std::string("cannot be opened: ") + std::strerror(errno));
    }
    struct stat info
    {
    };
    if (::fstat(file.Get(), &info) != 0)
        Fail(path, std::string("cannot be read: ") + std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        Fail(path, "is not a file");
    CheckSize(path, info);

    std::string data;
    data.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fail(path, std::string("cannot be read: ") + std::strerror(errno));
        if (n == 0)
            break;
        if (data.size() + static_cast<std::size_t>(n) > kMaxSongBytes)
            Fail(path, "is too large for a MIDI file");
        data.append(buffer, static_cast<std::size_t>(n));
    }
    return data;
}

} // namespace mci
