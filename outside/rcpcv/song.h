#pragma once
// The converted song: the tracks of a format-1 Standard MIDI File, each an ordered list of
// timed events, ready to be written out.

#include <cstdint>
#include <string>
#include <vector>

namespace rcpcv {

// One event as it stands in a track, without its delta time:
//  - a channel message: status byte and data bytes;
//  - a system exclusive: F0, then the data up to and including the closing F7
//    (the writer inserts the length);
//  - a meta event: FF, type, then the data (the writer inserts the length).
struct SmfEvent
{
    uint32_t tick = 0;
    // Order among events of the same tick: lower first. Note-offs use 0 so that a note
    // ending where the next one starts is released before it.
    uint32_t seq = 0;
    std::string bytes;
};

struct SmfTrack
{
    // Sorted by tick, then seq.
    std::vector<SmfEvent> events;
    // The end-of-track tick; never before the last event.
    uint32_t endTick = 0;
};

struct Song
{
    // Ticks per quarter note.
    uint16_t division = 48;
    // tracks[0] is the conductor: title, memo, time and key signatures, tempo.
    std::vector<SmfTrack> tracks;
};

} // namespace rcpcv
