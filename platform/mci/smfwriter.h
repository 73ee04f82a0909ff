#pragma once
// Writes Standard MIDI Files, for tests and measurements that need songs whose every
// event time is known.

#include "platform/mci/midimessage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mci {

class SmfWriter
{
public:
    // format 0 or 1; a negative division is an SMPTE one as stored (high byte the negated
    // frame rate, low byte the ticks per frame).
    explicit SmfWriter(int division = 480, int format = 1);

    // Starts a new track; events go to the last track started (the first call to an
    // event function starts one when none is).
    SmfWriter &Track();
    // A channel message, or a system-exclusive message from F0 to F7.
    SmfWriter &Event(std::int64_t tick, const MidiMessage &message);
    SmfWriter &Tempo(std::int64_t tick, std::int64_t microsecondsPerQuarter);
    SmfWriter &Meta(std::int64_t tick, int type, const std::string &data);
    // Puts the track's End of Track at tick (not before its last event).
    SmfWriter &EndAt(std::int64_t tick);

    // The file: each track's events in tick order (in the order given on one tick),
    // without running status, ending with End of Track.
    std::string Bytes() const;

private:
    struct Item
    {
        std::int64_t tick;
        std::string bytes; // the event without its delta time
    };
    struct TrackData
    {
        std::vector<Item> items;
        std::int64_t end = 0;
    };
    TrackData &Current();

    int division_;
    int format_;
    std::vector<TrackData> tracks_;
};

} // namespace mci
