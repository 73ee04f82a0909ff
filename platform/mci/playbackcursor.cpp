#include "platform/mci/playbackcursor.h"

namespace mci {

PlaybackCursor::PlaybackCursor(std::shared_ptr<const Song> song, std::size_t firstEvent)
    : song_(std::move(song))
    , next_(firstEvent)
{
}

bool PlaybackCursor::Advance()
{
    const bool changed = sounding_.Apply(Message());
    ++next_;
    return changed;
}

} // namespace mci
