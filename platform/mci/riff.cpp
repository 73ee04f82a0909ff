#include "platform/mci/riff.h"

#include "platform/mci/song.h"

#include <algorithm>
#include <cstring>

namespace mci {

namespace {

std::uint32_t ReadLe32(const std::uint8_t *p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool HasId(const std::uint8_t *p, const char *id)
{
    return std::memcmp(p, id, 4) == 0;
}

} // namespace

bool IsRiff(ByteRange bytes)
{
    return bytes.size >= 12 && HasId(bytes.data, "RIFF");
}

ByteRange RmidMidiData(ByteRange bytes)
{
    if (!IsRiff(bytes))
        throw SongFormatError("is not a MIDI file");
    if (!HasId(bytes.data + 8, "RMID"))
        throw SongFormatError("is a RIFF file but not a RIFF MIDI (RMID) file");
    // The RIFF's own size may be wrong in files from the wild: the chunks end where the
    // declared size or the file does, whichever comes first.
    const std::size_t end =
        std::min<std::size_t>(bytes.size, 8 + std::size_t{ReadLe32(bytes.data + 4)});
    std::size_t pos = 12;
    while (pos + 8 <= end) {
        const std::uint8_t *chunk = bytes.data + pos;
        const std::size_t length = ReadLe32(chunk + 4);
        const std::size_t start = pos + 8;
        if (HasId(chunk, "data"))
            return ByteRange{bytes.data + start, std::min(length, bytes.size - start)};
        if (length > end - start)
            break;
        pos = start + length + (length & 1); // chunks are padded to an even size
    }
    throw SongFormatError("is a RIFF MIDI file without MIDI data");
}

} // namespace mci
