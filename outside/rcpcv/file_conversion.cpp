#include "outside/rcpcv/file_conversion.h"

#include "outside/rcpcv/converter.h"
#include "outside/rcpcv/file_io.h"
#include "outside/rcpcv/limits.h"
#include "outside/rcpcv/smf_writer.h"

#include <vector>

namespace rcpcv {

FileStatus ConvertFile(const std::string &path, Song &out)
{
    std::vector<uint8_t> data;
    if (ReadRegularFile(path, limits::kMaxSongFileBytes, data) != ReadStatus::kOk)
        return FileStatus::kCannotRead;
    ConvertOptions options;
    options.controlFolder = FolderOf(path);
    switch (ConvertSong(ByteView(data.data(), data.size()), options, out)) {
    case ConvertStatus::kOk:
        return FileStatus::kOk;
    case ConvertStatus::kNotASong:
        return FileStatus::kNotASong;
    case ConvertStatus::kDamaged:
        break;
    }
    return FileStatus::kDamaged;
}

bool SaveSmf(const Song &song, const std::string &path)
{
    return WriteFileAtomically(path, WriteSmf(song));
}

} // namespace rcpcv
