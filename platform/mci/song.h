#pragma once
// A parsed song: every event of every track on one time line, and its tempo map.

#include "platform/mci/midimessage.h"
#include "platform/mci/tempomap.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace mci {

// One event the device sends: a channel message or a complete system-exclusive message.
struct SongEvent
{
    std::int64_t tick = 0;
    // For a system-exclusive message (bytes[0] == 0xF0): where its bytes are kept in
    // Song::sysexData (a 4-byte little-endian length, then the bytes from F0 to F7).
    std::uint32_t sysex = 0;
    std::uint8_t bytes[3] = {}; // a channel message: status and data bytes
    std::uint8_t port = 0;      // the port its track's port prefix named (0 to kPorts - 1)
};

// A text meta event the device reads but does not send: text (FF 01), lyric (FF 05) or
// marker (FF 06).
struct SongText
{
    std::int64_t tick = 0;
    std::uint8_t type = 0; // 0x01, 0x05 or 0x06
    int track = 0;         // the track it stands in, counted from 0
    std::string bytes;     // as written; longer texts than kMaxSongTextBytes are not kept
};

constexpr std::size_t kMaxSongTextBytes = 4096;
// A song keeps at most this many texts (a karaoke song has a few thousand); later ones are
// not kept, so that a file of nothing but texts cannot take much memory.
constexpr std::size_t kMaxSongTexts = std::size_t{1} << 16;

struct Song
{
    int format = 0;          // 0, 1 or 2 as the file declares it
    int tracks = 0;          // tracks read
    int ticksPerQuarter = 0; // 0 for SMPTE time
    TempoMap tempo;
    std::vector<TempoChange> tempoChanges; // what tempo was made of, in tick order
    std::vector<SongEvent> events;         // in time order; on one tick, in track order
    std::vector<std::uint8_t> sysexData;
    std::vector<SongText> texts;  // in time order; on one tick, in track order
    unsigned ports = 1;           // bit p set when an event is for port p; port A always counts
    std::int64_t lengthTicks = 0; // the last track's End of Track
    std::int64_t lengthNs = 0;    // time of lengthTicks, rounded down

    MessageView Message(const SongEvent &event) const;
    std::int64_t EventNs(std::size_t index) const { return tempo.TickToNs(events[index].tick); }
    // Index of the first event whose time is at least ns (events.size() when none).
    std::size_t FirstEventAtOrAfter(std::int64_t ns) const;
};

// What is wrong with bytes that do not make a playable song; the text says why, in a
// sentence fit to follow the file name ("is not a MIDI file").
class SongFormatError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace mci
