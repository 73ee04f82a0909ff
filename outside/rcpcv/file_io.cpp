#include "outside/rcpcv/file_io.h"

#include "outside/rcpcv/text.h"

#include "base/uniquefd.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace rcpcv {

namespace {

constexpr int kTemporaryNameAttempts = 16;

class Directory
{
public:
    explicit Directory(const std::string &path)
        : dir_(::opendir(path.c_str()))
    {
    }
    ~Directory()
    {
        if (dir_ != nullptr)
            ::closedir(dir_);
    }
    Directory(const Directory &) = delete;
    Directory &operator=(const Directory &) = delete;

    DIR *Get() const { return dir_; }

private:
    DIR *dir_;
};

bool WriteAll(int fd, const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

std::string TemporaryName(const std::string &folder, std::mt19937_64 &random)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string name = folder + "/.rcpcv-";
    uint64_t value = random();
    for (int i = 0; i < 16; ++i, value >>= 4)
        name.push_back(kHex[value & 0xF]);
    return name + ".tmp";
}

// Creates a new temporary file beside the target; its permissions follow the umask.
int CreateTemporary(const std::string &folder, std::string &name)
{
    std::random_device seed;
    std::mt19937_64 random((static_cast<uint64_t>(seed()) << 32) ^ seed() ^
                           static_cast<uint64_t>(::getpid()));
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        name = TemporaryName(folder, random);
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

ReadStatus ReadRegularFile(const std::string &path, size_t maxBytes, std::vector<uint8_t> &out)
{
    // Non-blocking, so that opening a pipe cannot wait for a writer.
    base::UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0)
        return ReadStatus::kCannotOpen;
    struct stat info = {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return ReadStatus::kNotRegular;
    if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) > maxBytes)
        return ReadStatus::kTooLarge;

    std::vector<uint8_t> data(static_cast<size_t>(info.st_size));
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t got = ::read(file.Get(), data.data() + done, data.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return ReadStatus::kReadError;
        if (got == 0)
            break; // the file shrank meanwhile: keep what is there
        done += static_cast<size_t>(got);
    }
    data.resize(done);
    out = std::move(data);
    return ReadStatus::kOk;
}

bool WriteFileAtomically(const std::string &path, const std::string &bytes)
{
    std::string temporary;
    base::UniqueFd file(CreateTemporary(FolderOf(path), temporary));
    if (file.Get() < 0)
        return false;
    const bool written = WriteAll(file.Get(), bytes) && ::fsync(file.Get()) == 0 && file.Close();
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

std::string FolderOf(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::optional<std::string> FindIgnoringCase(const std::string &folder, const std::string &name)
{
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return std::nullopt;
    Directory dir(folder);
    if (dir.Get() == nullptr)
        return std::nullopt;
    std::optional<std::string> found;
    while (const dirent *entry = ::readdir(dir.Get())) {
        const std::string entryName = entry->d_name;
        if (entryName == name)
            return folder + "/" + entryName;
        if (EqualIgnoringAsciiCase(entryName, name) && (!found || entryName < *found))
            found = entryName;
    }
    if (!found)
        return std::nullopt;
    return folder + "/" + *found;
}

} // namespace rcpcv
