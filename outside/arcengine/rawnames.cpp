#include "rawnames.h"

#include "outside/arccommon/bytes.h"
#include "outside/arccommon/codepage.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace arc {

RawNames::RawNames(const std::string &path)
{
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info = {};
    if (fd_ >= 0 && ::fstat(fd_, &info) == 0)
        size_ = static_cast<std::uint64_t>(info.st_size);
}

RawNames::~RawNames()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool RawNames::Read(std::uint64_t offset, void *buffer, std::size_t size) const
{
    if (fd_ < 0 || offset > size_ || size > size_ - offset)
        return false;
    return ReadExactAt(fd_, offset, buffer, size);
}

std::string DosSeparatorsToSlashes(std::string name)
{
    const TextEncoding encoding = NameEncoding(name);
    for (std::size_t i = 0; i < name.size(); i += CharLength(name, i, encoding))
        if (name[i] == '\\' && CharLength(name, i, encoding) == 1)
            name[i] = '/';
    return name;
}

} // namespace arc
