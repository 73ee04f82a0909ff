#pragma once
// The tempo map: exact song time of every tick.
//
// Times are measured from the start of the song through one absolute map, never by
// adding up rounded intervals, so nothing drifts however many tempo changes a song has.
// Internally a tick's time is the exact fraction T / Denominator nanoseconds with T held
// in 128 bits; results are rounded only on the way out.

#include <cstdint>
#include <vector>

namespace mci {

struct TempoChange
{
    std::int64_t tick = 0;
    std::int64_t microsecondsPerQuarter = 500000;
};

// ns as a sample number at sampleRate, rounded to the nearest (half up).
std::int64_t NsToSample(std::int64_t ns, int sampleRate);
// The time of sample at sampleRate in nanoseconds, rounded down.
std::int64_t SampleToNs(std::int64_t sample, int sampleRate);

class TempoMap
{
public:
    // 120 beats per minute at 480 ticks per quarter note.
    TempoMap();

    // Ticks per quarter note (> 0) and the tempo changes in tick order (each tempo > 0).
    // The tempo is 500000 microseconds per quarter note until the first change; of
    // several changes on one tick the last holds.
    static TempoMap Metrical(int ticksPerQuarter, const std::vector<TempoChange> &changes);
    // SMPTE time: framesPerSecond 24, 25, 29 (30 drop-frame, that is 29.97) or 30;
    // ticksPerFrame > 0. Tempo changes do not apply to such songs.
    static TempoMap Timecode(int framesPerSecond, int ticksPerFrame);

    // Time of tick (>= 0) in nanoseconds, rounded down; INT64_MAX when it does not fit.
    std::int64_t TickToNs(std::int64_t tick) const;
    // Time of tick as a sample number at sampleRate, rounded to the nearest (half up).
    std::int64_t TickToSample(std::int64_t tick, int sampleRate) const;
    // The last tick whose TickToNs is at most ns (ns >= 0).
    std::int64_t NsToTick(std::int64_t ns) const;

    // Number of tempo segments (1 + the tempo changes that took effect).
    std::size_t SegmentCount() const { return segments_.size(); }

private:
    struct Segment
    {
        std::int64_t tick;    // first tick of the segment
        __int128 start;       // T at that tick
        std::int64_t perTick; // T per tick inside the segment
    };

    const Segment &SegmentOfTick(std::int64_t tick) const;
    __int128 ExactTime(std::int64_t tick) const; // T

    std::vector<Segment> segments_;
    std::int64_t denominator_ = 1; // time in ns = T / denominator_
};

} // namespace mci
