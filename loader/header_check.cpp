#include "header_check.h"

#include "base/workfile.h"

#include "input_file.h"
#include "work_file.h"

#include <stdint.h>

namespace loader {
namespace {

constexpr unsigned char kChunkIdFirst = 0x4D;  // 'M' of "MThd"
constexpr unsigned char kChunkIdSecond = 0x54; // 'T'
constexpr size_t kCopyBlock = 16384;
constexpr uint64_t kNotFound = UINT64_MAX;

IoStatus FormWorkName(const ShortText &folder, ShortText &workName)
{
    if (folder.Length() == 0 || folder.HasZeroByte())
        return Failure(SONOLUX_IO_INVALID_NAME);
    workName = folder;
    if (!workName.Append("/", 1) ||
        !workName.Append(base::kWorkFileName, sizeof(base::kWorkFileName) - 1))
        return Failure(SONOLUX_IO_NAME_TOO_LONG);
    return IoStatus();
}

// Offset of the first 4D 54 pair that starts at or after offset 1, or kNotFound.
IoStatus FindChunkStart(const InputFile &source, uint64_t &start)
{
    unsigned char block[kCopyBlock];
    unsigned char previous = 0; // the zero first byte: it cannot start the pair
    uint64_t offset = 1;
    start = kNotFound;
    for (;;) {
        size_t got = 0;
        const IoStatus status = source.ReadAt(offset, block, sizeof(block), got);
        if (status.Failed() || got == 0)
            return status;
        for (size_t i = 0; i < got; ++i) {
            if (previous == kChunkIdFirst && block[i] == kChunkIdSecond) {
                start = offset + i - 1;
                return IoStatus();
            }
            previous = block[i];
        }
        offset += got;
    }
}

IoStatus CopyFrom(const InputFile &source, uint64_t offset, WorkFile &work)
{
    unsigned char block[kCopyBlock];
    for (;;) {
        size_t got = 0;
        IoStatus status = source.ReadAt(offset, block, sizeof(block), got);
        if (status.Failed() || got == 0)
            return status;
        status = work.Write(block, got);
        if (status.Failed())
            return status;
        offset += got;
    }
}

IoStatus WriteUnwrapped(const InputFile &source, const ShortText &workName)
{
    WorkFile work;
    IoStatus status = work.Create(workName);
    if (status.Failed())
        return status;
    uint64_t start = kNotFound;
    status = FindChunkStart(source, start);
    if (!status.Failed() && start != kNotFound)
        status = CopyFrom(source, start, work);
    if (status.Failed())
        return status;
    return work.Commit();
}

} // namespace

IoStatus CheckForeignHeader(const ShortText &source, const ShortText &folder, ShortText &playName)
{
    if (source.HasZeroByte())
        return Failure(SONOLUX_IO_INVALID_NAME);
    InputFile file;
    IoStatus status = file.Open(source.Bytes(), InputFile::Lock::Shared);
    if (status.Failed())
        return status;
    unsigned char first = 0;
    size_t got = 0;
    status = file.ReadAt(0, &first, 1, got);
    if (status.Failed())
        return status;
    if (got == 0)
        return Failure(SONOLUX_IO_READ_PAST_END);

    if (first != 0) {
        status = file.Close();
        if (!status.Failed())
            playName = source;
        return status;
    }
    ShortText workName;
    status = FormWorkName(folder, workName);
    if (!status.Failed())
        status = WriteUnwrapped(file, workName);
    if (!status.Failed())
        status = file.Close();
    if (!status.Failed())
        playName = workName;
    return status;
}

} // namespace loader
