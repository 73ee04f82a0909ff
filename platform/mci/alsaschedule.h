#pragma once
// The timing rules of the ALSA output, apart from ALSA itself.

#include "platform/mci/midimessage.h"
#include "platform/mci/notetracker.h"

#include <cstdint>
#include <deque>

namespace mci {

// Keeps system-exclusive messages from flooding a hardware module. On a MIDI cable a byte
// takes 320 microseconds (31250 baud, 10 bits a byte), so a message of n bytes holds the
// line for n x 320 microseconds and the next one may start only after it.
class SysExPacer
{
public:
    static constexpr std::int64_t kNsPerByte = 320000;

    // When a message of `bytes` wanted at wantNs goes out: then, or once the line is free
    // again. The line is then busy until the message has passed.
    std::int64_t Place(std::int64_t wantNs, std::size_t bytes);
    // Keeps the line free of further messages until ns (a module resetting itself).
    void HoldUntil(std::int64_t ns);
    std::int64_t FreeAt() const { return freeAt_; }
    void Reset() { freeAt_ = 0; }

private:
    std::int64_t freeAt_ = 0;
};

// Note messages handed to the sequencer queue ahead of their time. When the queue is
// stopped early the ones still waiting are removed from it, so their effect is taken back
// from the count of sounding notes too: what remains is what really sounds.
class QueuedNotes
{
public:
    // A note message at timeNs whose count the tracker has already changed.
    void Add(std::int64_t timeNs, MessageView message);
    // Forgets those due at or before ns (they have been played).
    void Forget(std::int64_t ns);
    // Takes back from sounding the ones due after ns, newest first, and forgets them all.
    void Revert(NoteTracker &sounding, std::int64_t ns);
    std::size_t Size() const { return notes_.size(); }

private:
    struct Note
    {
        std::int64_t timeNs;
        std::uint8_t bytes[3];
        int port;
    };
    std::deque<Note> notes_;
};

} // namespace mci
