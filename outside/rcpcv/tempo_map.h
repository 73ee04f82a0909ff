#pragma once
// The song's tempo as the conductor track carries it: the header tempo, then the tempo
// commands of every track in time order, a gradual change drawn as a run of steps.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rcpcv {

struct TempoRequest
{
    // Where the change starts, in song ticks.
    int64_t tick = 0;
    // The new tempo is the header tempo times factor / 64.
    uint32_t factor = 64;
    // 0 changes at once; 1-255 glide to the new tempo, 255 fastest.
    uint8_t glide = 0;
};

struct TempoPoint
{
    uint32_t tick = 0;
    // Microseconds per quarter note, 1 to 0xFFFFFF.
    uint32_t usecPerQuarter = 500000;
};

// The most points one request can add (for the song's event budget).
size_t TempoPointsOf(const TempoRequest &request);

// Microseconds per quarter note at the given beats per minute, within the SMF range.
uint32_t UsecPerQuarter(double bpm);

// The tempo points: one at tick 0, then one wherever the tempo changes, in tick order.
// Requests apply in tick order (equal ticks in the order given); a request cuts short a
// glide still running, and a glide starts from the tempo reached at its tick.
std::vector<TempoPoint> BuildTempoMap(unsigned headerTempo, unsigned timebase,
                                      std::vector<TempoRequest> requests);

} // namespace rcpcv
