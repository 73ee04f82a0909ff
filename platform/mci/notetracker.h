#pragma once
// The notes that sound on an output: how many note-ons each port, channel and key has had
// without a matching note-off, so that stopping can switch every one of them off.

#include "platform/mci/midimessage.h"

#include <array>
#include <cstdint>

namespace mci {

class NoteTracker
{
public:
    // Counts a note-on up and a note-off down (never below 0), on the message's port; other
    // messages change nothing. True when the count changed.
    bool Apply(MessageView message);
    // Undoes a change Apply reported for message.
    void Revert(MessageView message);

    int Count(int channel, int key, int port = 0) const
    {
        return counts_[Index(port, channel, key)];
    }
    bool Any() const;
    // Bit p set when port p has had a note since the tracker was made or cleared; port A
    // always counts.
    unsigned PortsUsed() const { return portsUsed_; }
    void Clear();

    // Calls f(port, channel, key, count) for every note that sounds, port by port and
    // channel by channel.
    template<class F>
    void ForEach(F f) const
    {
        for (int port = 0; port < kPorts; ++port)
            for (int channel = 0; channel < 16; ++channel)
                for (int key = 0; key < 128; ++key)
                    if (const int n = counts_[Index(port, channel, key)])
                        f(port, channel, key, n);
    }

private:
    static std::size_t Index(int port, int channel, int key)
    {
        return static_cast<std::size_t>(((port % kPorts) * 16 + (channel & 0x0F)) * 128 +
                                        (key & 0x7F));
    }

    std::array<std::uint8_t, kPorts * 16 * 128> counts_{};
    unsigned portsUsed_ = 1;
};

} // namespace mci
