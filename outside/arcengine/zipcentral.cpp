#include "zipcentral.h"

#include "outside/arccommon/bytes.h"
#include "outside/arccommon/signatures.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace arc {
namespace {

constexpr std::size_t endRecordSize = 22;
constexpr std::size_t entryFixedSize = 46;
constexpr std::uint32_t maxDirectorySize = 64u << 20;

} // namespace

ZipCentralCrcs::ZipCentralCrcs(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info = {};
    if (::fstat(fd, &info) == 0)
        Read(fd, static_cast<std::uint64_t>(info.st_size));
    ::close(fd);
}

void ZipCentralCrcs::Read(int fd, std::uint64_t fileSize)
{
    const std::uint64_t tailSize = std::min<std::uint64_t>(fileSize, zipTailScan);
    std::vector<unsigned char> tail(static_cast<std::size_t>(tailSize));
    if (tailSize < endRecordSize || !ReadExactAt(fd, fileSize - tailSize, tail.data(), tail.size()))
        return;
    std::size_t at = tail.size() - endRecordSize + 1;
    while (at-- > 0)
        if (tail[at] == 'P' && tail[at + 1] == 'K' && tail[at + 2] == 5 && tail[at + 3] == 6)
            break;
    if (at == static_cast<std::size_t>(-1))
        return;
    const std::uint64_t endAt = fileSize - tailSize + at;
    const std::uint32_t count = LittleEndian(&tail[at + 10], 2);
    const std::uint32_t size = LittleEndian(&tail[at + 12], 4);
    const std::uint32_t offset = LittleEndian(&tail[at + 16], 4);
    if (size > maxDirectorySize || size > endAt)
        return;
    // A self-extractor's program head shifts every offset the directory records.
    const std::uint64_t shift = endAt - size >= offset ? endAt - size - offset : 0;
    std::vector<unsigned char> directory(size);
    if (!ReadExactAt(fd, endAt - size, directory.data(), directory.size()))
        return;
    std::size_t p = 0;
    for (std::uint32_t i = 0; i < count && directory.size() - p >= entryFixedSize; ++i) {
        const unsigned char *entry = &directory[p];
        if (LittleEndian(entry, 4) != 0x02014B50)
            return;
        crcs_[LittleEndian(entry + 42, 4) + shift] = LittleEndian(entry + 16, 4);
        p += entryFixedSize + LittleEndian(entry + 28, 2) + LittleEndian(entry + 30, 2) +
             LittleEndian(entry + 32, 2);
    }
}

bool ZipCentralCrcs::CrcAt(std::uint64_t offset, std::uint32_t &crc) const
{
    const auto found = crcs_.find(offset);
    if (found == crcs_.end())
        return false;
    crc = found->second;
    return true;
}

} // namespace arc
