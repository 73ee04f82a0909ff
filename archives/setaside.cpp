#include "setaside.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace archives {
namespace {

std::runtime_error FileError(const std::string &what, const std::string &path, int error)
{
    return std::runtime_error(what + " " + path + ": " + std::strerror(error));
}

} // namespace

SetAside::SetAside(const std::string &path)
    : path_(path)
{
    struct stat st
    {
    };
    if (::lstat(path.c_str(), &st) != 0)
        return;
    std::string aside = path + ".XXXXXX";
    const int fd = ::mkstemp(aside.data());
    if (fd < 0)
        throw FileError("Cannot create", aside, errno);
    ::close(fd);
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        const int error = errno;
        std::remove(aside.c_str());
        throw FileError("Cannot move", path, error);
    }
    aside_ = aside;
}

SetAside::~SetAside()
{
    if (aside_.empty())
        return;
    if (committed_)
        std::remove(aside_.c_str());
    else
        std::rename(aside_.c_str(), path_.c_str());
}

} // namespace archives
