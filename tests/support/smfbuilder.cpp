#include "support/smfbuilder.h"

#include "platform/mci/smfwriter.h"

namespace testing_support {

std::string MakeSmf(std::uint32_t lengthMs, const std::string &title,
                    const std::vector<std::uint32_t> &notes)
{
    // 500 ticks per quarter at 500000 microseconds per quarter: a tick is a millisecond.
    mci::SmfWriter writer(500, 0);
    writer.Track();
    if (!title.empty())
        writer.Meta(0, 0x03, title);
    writer.Tempo(0, 500000);
    for (const std::uint32_t t : notes) {
        writer.Event(t, {0x90, 0x3C, 0x64});
        writer.Event(t + 10, {0x80, 0x3C, 0x00});
    }
    writer.EndAt(lengthMs);
    return writer.Bytes();
}

} // namespace testing_support
