#pragma once
// An output's walk through a song: the next event to send and the notes that sound.
// Owned by one thread at a time (the output's).

#include "platform/mci/notetracker.h"
#include "platform/mci/song.h"

#include <memory>

namespace mci {

class PlaybackCursor
{
public:
    PlaybackCursor() = default;
    PlaybackCursor(std::shared_ptr<const Song> song, std::size_t firstEvent);

    bool Done() const { return !song_ || next_ >= song_->events.size(); }
    // The next event (not Done()).
    const SongEvent &Event() const { return song_->events[next_]; }
    MessageView Message() const { return song_->Message(Event()); }
    std::int64_t EventNs() const { return song_->EventNs(next_); }
    // Passes the next event, counting the notes it starts and ends; true when it changed
    // the count of sounding notes.
    bool Advance();

    const NoteTracker &Sounding() const { return sounding_; }
    NoteTracker &Sounding() { return sounding_; }
    const Song *GetSong() const { return song_.get(); }

private:
    std::shared_ptr<const Song> song_;
    std::size_t next_ = 0;
    NoteTracker sounding_;
};

} // namespace mci
