#pragma once
// Plays a track's event list in time: follows loops and same-measure references and
// keeps the clock. What comes out is the events that make sound or change state, each
// with the tick it plays at; the flow commands themselves never come out.
//
// Always ends: endless loops play limits::kEndlessLoopPasses times, same-measure chains
// that loop back on themselves are skipped, and the track stops after
// limits::kMaxStepsPerTrack executed events or at limits::kMaxTrackTicks.

#include "outside/rcpcv/track_events.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace rcpcv {

struct PlayedEvent
{
    // Index of the event in the list (continuation events follow it there).
    size_t index = 0;
    TrackEvent event;
    int64_t tick = 0;
};

class TrackWalker
{
public:
    explicit TrackWalker(const EventList &events);

    // The next event to play; false once the track has ended.
    bool Next(PlayedEvent &out);

    // The tick reached so far: after the last event, where the track ends.
    int64_t Now() const { return now_; }

    // Ends the track early, as if its events had run out.
    void Stop() { ended_ = true; }

private:
    struct LoopFrame
    {
        size_t start;
        int64_t remaining; // passes left; negative until the loop end is first met
        std::optional<size_t> sameMeasure;
    };

    bool CanContinue() const;
    void EndMeasure();
    void SameMeasure();
    std::optional<size_t> ResolveChain(size_t from) const;
    void LoopStart();
    void LoopEnd(const TrackEvent &event);

    const EventList &events_;
    size_t position_ = 0;
    int64_t now_ = 0;
    uint64_t steps_ = 0;
    bool ended_ = false;
    // While a referenced bar plays: the same-measure event to continue after.
    std::optional<size_t> sameMeasure_;
    std::vector<LoopFrame> loops_;
};

} // namespace rcpcv
