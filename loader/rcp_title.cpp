#include "rcp_title.h"

#include "input_file.h"

#include <string.h>

namespace loader {
namespace {

constexpr uint64_t kFieldOffset = 32;
constexpr size_t kFieldSize = 64;

bool IsBlankOrControl(unsigned char c)
{
    return c <= 0x20;
}

} // namespace

IoStatus ReadRcpTitle(const char *path, ShortText &title)
{
    InputFile file;
    IoStatus status = file.Open(path, InputFile::Lock::Exclusive);
    if (status.Failed())
        return status;
    unsigned char field[kFieldSize] = {};
    size_t got = 0;
    status = file.ReadAt(kFieldOffset, field, kFieldSize, got);
    if (status.Failed())
        return status;

    const void *zero = memchr(field, 0, kFieldSize);
    size_t end = zero != nullptr
                     ? static_cast<size_t>(static_cast<const unsigned char *>(zero) - field)
                     : kFieldSize;
    size_t begin = 0;
    while (begin < end && IsBlankOrControl(field[begin]))
        ++begin;
    while (end > begin && IsBlankOrControl(field[end - 1]))
        --end;
    title.Assign(field + begin, end - begin);
    return file.Close();
}

} // namespace loader
