#pragma once
// RIFF RMID files: a Standard MIDI File wrapped in a RIFF "data" chunk, possibly beside
// other chunks (INFO lists, icons, an embedded SoundFont), which are skipped.

#include <cstddef>
#include <cstdint>

namespace mci {

struct ByteRange
{
    const std::uint8_t *data = nullptr;
    std::size_t size = 0;
};

// True when the bytes start like a RIFF file ("RIFF", a size, a form type).
bool IsRiff(ByteRange bytes);

// The contents of the "data" chunk of a RIFF RMID file, cut at the end of the bytes when
// the chunk (or the RIFF itself) claims more. Throws SongFormatError when the file is not
// an RMID or holds no "data" chunk.
ByteRange RmidMidiData(ByteRange bytes);

} // namespace mci
