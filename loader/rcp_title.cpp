#include "rcp_title.h"

#include "input_file.h"

#include "base/trim.h"

#include <string.h>

namespace loader {
namespace {

constexpr uint64_t kFieldOffset = 32;
constexpr size_t kFieldSize = 64;

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
    const size_t end = zero != nullptr
                           ? static_cast<size_t>(static_cast<const unsigned char *>(zero) - field)
                           : kFieldSize;
    const base::ByteRange shown = base::Trimmed(field, end, base::IsBlankOrControl);
    title.Assign(field + shown.begin, shown.Length());
    return file.Close();
}

} // namespace loader
