#pragma once
// The notes that sound on an output: how many note-ons each channel and key has had
// without a matching note-off, so that stopping can switch every one of them off.

#include "platform/mci/midimessage.h"

#include <array>
#include <cstdint>

namespace mci {

class NoteTracker
{
public:
    // Counts a note-on up and a note-off down (never below 0); other messages change
    // nothing. True when the count changed.
    bool Apply(MessageView message);
    // Undoes a change Apply reported for message.
    void Revert(MessageView message);

    int Count(int channel, int key) const { return counts_[Index(channel, key)]; }
    bool Any() const;
    void Clear() { counts_.fill(0); }

    // Calls f(channel, key, count) for every note that sounds, channel by channel.
    template<class F>
    void ForEach(F f) const
    {
        for (int channel = 0; channel < 16; ++channel)
            for (int key = 0; key < 128; ++key)
                if (const int n = counts_[Index(channel, key)])
                    f(channel, key, n);
    }

private:
    static std::size_t Index(int channel, int key)
    {
        return static_cast<std::size_t>((channel & 0x0F) * 128 + (key & 0x7F));
    }

    std::array<std::uint8_t, 16 * 128> counts_{};
};

} // namespace mci
