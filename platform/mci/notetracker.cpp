#include "platform/mci/notetracker.h"

#include <algorithm>

namespace mci {

bool NoteTracker::Apply(MessageView message)
{
    if (IsNoteOn(message)) {
        std::uint8_t &count = counts_[Index(message.port, message.Channel(), message.data[1])];
        portsUsed_ |= 1u << (message.port % kPorts);
        if (count == 255)
            return false;
        ++count;
        return true;
    }
    if (IsNoteOff(message)) {
        std::uint8_t &count = counts_[Index(message.port, message.Channel(), message.data[1])];
        if (count == 0)
            return false;
        --count;
        return true;
    }
    return false;
}

void NoteTracker::Revert(MessageView message)
{
    std::uint8_t &count = counts_[Index(message.port, message.Channel(), message.data[1])];
    if (IsNoteOn(message))
        --count;
    else if (IsNoteOff(message))
        ++count;
}

bool NoteTracker::Any() const
{
    return std::any_of(counts_.begin(), counts_.end(), [](std::uint8_t n) { return n != 0; });
}

void NoteTracker::Clear()
{
    counts_.fill(0);
    portsUsed_ = 1;
}

} // namespace mci
