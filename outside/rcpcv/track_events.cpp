#include "outside/rcpcv/track_events.h"

namespace rcpcv {

namespace {

constexpr size_t kRcpTrackHeaderSize = 44;
// A G36 same-measure event numbers its target event from 0x30.
constexpr size_t kG36FirstEventNumber = 0x30;

} // namespace

EventList::EventList(ByteView events, Variant variant)
    : bytes_(events)
    , variant_(variant)
    , size_(EventSize(variant))
    , count_(events.Size() / EventSize(variant))
{
}

TrackEvent EventList::At(size_t index) const
{
    const size_t at = index * size_;
    TrackEvent event;
    event.command = bytes_.U8(at);
    if (variant_ == Variant::kRcp) {
        event.step = bytes_.U8(at + 1);
        event.p1 = bytes_.U8(at + 2);
        event.p2 = bytes_.U8(at + 3);
    } else {
        event.p2 = bytes_.U8(at + 1);
        event.step = bytes_.U16(at + 2);
        event.p1 = bytes_.U16(at + 4);
    }
    return event;
}

void EventList::AppendParameterBytes(size_t index, std::string &out) const
{
    const size_t at = index * size_;
    const size_t first = variant_ == Variant::kRcp ? 2 : 1;
    for (size_t i = first; i < size_; ++i)
        out.push_back(static_cast<char>(bytes_.U8(at + i)));
}

void EventList::AppendLongData(size_t index, bool withOwn, std::string &out) const
{
    if (withOwn)
        AppendParameterBytes(index, out);
    for (size_t next = index + 1; next < count_ && At(next).command == command::kContinuation;
         ++next)
        AppendParameterBytes(next, out);
}

std::optional<size_t> EventList::SameMeasureTarget(size_t index) const
{
    const size_t at = index * size_;
    if (index >= count_ || bytes_.U8(at) != command::kSameMeasure)
        return std::nullopt;
    size_t target = 0;
    if (variant_ == Variant::kRcp) {
        // A byte offset from the start of the track header; its low two bits carry the
        // high bits of the bar number instead.
        const size_t offset = (bytes_.U8(at + 2) & 0xFCu) | static_cast<size_t>(bytes_.U8(at + 3))
                                                                << 8;
        if (offset < kRcpTrackHeaderSize)
            return std::nullopt;
        target = (offset - kRcpTrackHeaderSize) / size_;
    } else {
        const size_t number = bytes_.U16(at + 4);
        if (number < kG36FirstEventNumber)
            return std::nullopt;
        target = number - kG36FirstEventNumber;
    }
    if (target >= count_)
        return std::nullopt;
    return target;
}

} // namespace rcpcv
