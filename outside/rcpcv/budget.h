#pragma once
// The share of the song-wide event limits that is still free. Every converter stage that
// adds events takes from the one budget, so the whole song stays bounded.

#include "outside/rcpcv/limits.h"

#include <cstddef>

namespace rcpcv {

class Budget
{
public:
    Budget() = default;
    Budget(size_t events, size_t bytes)
        : events_(events)
        , bytes_(bytes)
    {
    }

    // Takes room for count events of bytes in all; false (taking nothing) when they do not fit.
    bool Take(size_t count, size_t bytes)
    {
        if (count > events_ || bytes > bytes_)
            return false;
        events_ -= count;
        bytes_ -= bytes;
        return true;
    }

private:
    size_t events_ = limits::kMaxSongEvents;
    size_t bytes_ = limits::kMaxSongEventBytes;
};

} // namespace rcpcv
