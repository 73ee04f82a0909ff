#include "platform/mci/song.h"

#include <algorithm>
#include <cstring>

namespace mci {

MessageView Song::Message(const SongEvent &event) const
{
    if (event.bytes[0] == 0xF0) {
        std::uint32_t length = 0;
        for (int i = 3; i >= 0; --i)
            length = (length << 8) | sysexData[event.sysex + static_cast<std::uint32_t>(i)];
        return MessageView{sysexData.data() + event.sysex + 4, length, event.port};
    }
    return MessageView{event.bytes, static_cast<std::size_t>(1 + ChannelDataLength(event.bytes[0])),
                       event.port};
}

std::size_t Song::FirstEventAtOrAfter(std::int64_t ns) const
{
    const auto it = std::partition_point(events.begin(), events.end(), [&](const SongEvent &e) {
        return tempo.TickToNs(e.tick) < ns;
    });
    return static_cast<std::size_t>(it - events.begin());
}

} // namespace mci
