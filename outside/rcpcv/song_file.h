#pragma once
// The layout of a Recomposer song file: its header fields and where each track's events
// lie. Nothing is copied: every view points into the caller's file bytes, which must
// outlive the SongFile.

#include "outside/rcpcv/byte_view.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace rcpcv {

// RCP covers R36 (the same layout with 36 tracks); G36 covers G18.
enum class Variant { kRcp, kG36 };

enum class ControlKind { kCm6, kGsd };

// A control file the song names, to be sent to the module on port (0 = A, 1 = B).
struct ControlFileRef
{
    ControlKind kind = ControlKind::kGsd;
    int port = 0;
    std::string name;
};

// One of the eight user exclusives of the header: a name and a template (see exclusive.h).
struct UserExclusive
{
    ByteView name;
    ByteView data;
};

struct TrackInfo
{
    // 0xFF: no output; 0x00-0x0F: port A channels 1-16; 0x10-0x1F: port B channels 1-16.
    uint8_t channel = 0xFF;
    // Bit 7 set: a rhythm track, never transposed. Else a 7-bit signed shift in semitones.
    uint8_t keyShift = 0;
    // Ticks every event of the track is moved by; negative moves earlier.
    int stShift = 0;
    // The start-shift byte as stored.
    uint8_t stShiftByte = 0;
    bool muted = false;
    ByteView name;
    // Whole events only, the track end included when the file has it.
    ByteView events;
};

struct SongFile
{
    Variant variant = Variant::kRcp;
    ByteView titleField;
    std::vector<ByteView> memoLines;
    // Ticks per quarter note, 1 to 0x7FFF.
    unsigned timebase = 48;
    // Beats per minute, above 0.
    unsigned tempo = 120;
    // 4/4 when the file holds no usable signature.
    unsigned beatNumerator = 4;
    unsigned beatDenominator = 4;
    // Bits 0-2 accidentals, bit 3 flats, bit 4 minor.
    uint8_t key = 0;
    // Transposition of every track that is not a rhythm track.
    int playBias = 0;
    std::array<UserExclusive, 8> userExclusives;
    std::vector<ControlFileRef> controlFiles;
    std::vector<TrackInfo> tracks;
};

// Event size in bytes: 4 for RCP, 6 for G36.
size_t EventSize(Variant variant);

// The variant named by the magic at the start of the file; nothing for other files.
std::optional<Variant> DetectVariant(ByteView file);

enum class ParseStatus {
    kOk,
    kNotASong, // no RCP or G36 magic
    kDamaged,  // the magic is there, but the header is cut short or unusable
};

// Reads the header and locates the tracks. A track cut short by the end of the file keeps
// its whole events and is the last one; a track whose length field is unreliable is
// measured by its track-end event instead.
ParseStatus ParseSongFile(ByteView file, SongFile &out);

} // namespace rcpcv
