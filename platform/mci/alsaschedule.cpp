#include "platform/mci/alsaschedule.h"

#include <algorithm>

namespace mci {

std::int64_t SysExPacer::Place(std::int64_t wantNs, std::size_t bytes)
{
    const std::int64_t at = std::max(wantNs, freeAt_);
    freeAt_ = at + static_cast<std::int64_t>(bytes) * kNsPerByte;
    return at;
}

void SysExPacer::HoldUntil(std::int64_t ns)
{
    freeAt_ = std::max(freeAt_, ns);
}

void QueuedNotes::Add(std::int64_t timeNs, MessageView message)
{
    if (message.size < 3)
        return;
    notes_.push_back(
        Note{timeNs, {message.data[0], message.data[1], message.data[2]}, message.port});
}

void QueuedNotes::Forget(std::int64_t ns)
{
    // Note messages are queued in time order (pacing moves only system-exclusive ones).
    while (!notes_.empty() && notes_.front().timeNs <= ns)
        notes_.pop_front();
}

void QueuedNotes::Revert(NoteTracker &sounding, std::int64_t ns)
{
    for (auto it = notes_.rbegin(); it != notes_.rend(); ++it)
        if (it->timeNs > ns)
            sounding.Revert(MessageView{it->bytes, 3, it->port});
    notes_.clear();
}

} // namespace mci
