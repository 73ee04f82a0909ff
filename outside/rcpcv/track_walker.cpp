#include "outside/rcpcv/track_walker.h"

#include "outside/rcpcv/limits.h"

#include <algorithm>
#include <array>

namespace rcpcv {

TrackWalker::TrackWalker(const EventList &events)
    : events_(events)
{
}

bool TrackWalker::CanContinue() const
{
    return !ended_ && steps_ < limits::kMaxStepsPerTrack && now_ <= limits::kMaxTrackTicks;
}

bool TrackWalker::Next(PlayedEvent &out)
{
    while (CanContinue()) {
        ++steps_;
        if (position_ >= events_.Count()) {
            if (!sameMeasure_)
                break;
            EndMeasure(); // a referenced bar that runs to the end of the track
            continue;
        }
        const TrackEvent event = events_.At(position_);
        switch (event.command) {
        case command::kTrackEnd:
            if (!sameMeasure_) {
                ended_ = true;
                return false;
            }
            EndMeasure();
            break;
        case command::kMeasureEnd:
            EndMeasure();
            break;
        case command::kSameMeasure:
            if (sameMeasure_)
                EndMeasure(); // within a referenced bar it closes that bar
            else
                SameMeasure();
            break;
        case command::kLoopStart:
            LoopStart();
            break;
        case command::kLoopEnd:
            LoopEnd(event);
            break;
        case command::kContinuation:
            ++position_; // read with the command it continues; a stray one means nothing
            break;
        default:
            out = {position_, event, now_};
            ++position_;
            if (event.command < command::kKeySignature)
                now_ += event.step;
            return true;
        }
    }
    ended_ = true;
    return false;
}

void TrackWalker::EndMeasure()
{
    if (sameMeasure_) {
        position_ = *sameMeasure_ + 1;
        sameMeasure_.reset();
    } else {
        ++position_;
    }
}

void TrackWalker::SameMeasure()
{
    const std::optional<size_t> bar = ResolveChain(position_);
    if (!bar) {
        ++position_; // a reference outside the track or a cycle: the bar is skipped
        return;
    }
    sameMeasure_ = position_;
    position_ = *bar;
}

// Follows same-measure events that point at further same-measure events to the bar
// that holds music. Nothing when a link points outside the track or the chain comes back
// on itself.
std::optional<size_t> TrackWalker::ResolveChain(size_t from) const
{
    std::array<size_t, limits::kMaxSameMeasureHops + 1> visited{};
    size_t visitedCount = 0;
    visited[visitedCount++] = from;
    size_t at = from;
    while (visitedCount < visited.size()) {
        const std::optional<size_t> target = events_.SameMeasureTarget(at);
        if (!target)
            return std::nullopt;
        if (events_.At(*target).command != command::kSameMeasure)
            return target;
        const auto end = visited.begin() + static_cast<std::ptrdiff_t>(visitedCount);
        if (std::find(visited.begin(), end, *target) != end)
            return std::nullopt;
        visited[visitedCount++] = *target;
        at = *target;
    }
    return std::nullopt;
}

void TrackWalker::LoopStart()
{
    if (loops_.size() < limits::kMaxLoopDepth)
        loops_.push_back({position_, -1, sameMeasure_});
    ++position_;
}

// The loop end's step is the number of passes, 0 for an endless loop. A loop end with no
// open loop is ignored.
void TrackWalker::LoopEnd(const TrackEvent &event)
{
    if (loops_.empty()) {
        ++position_;
        return;
    }
    LoopFrame &loop = loops_.back();
    if (loop.remaining < 0)
        loop.remaining = event.step == 0 ? limits::kEndlessLoopPasses : event.step;
    if (--loop.remaining > 0) {
        position_ = loop.start + 1;
        sameMeasure_ = loop.sameMeasure;
        return;
    }
    loops_.pop_back();
    ++position_;
}

} // namespace rcpcv
