#include "platform/mci/smfwriter.h"

#include <algorithm>

namespace mci {

namespace {

void PutVlq(std::string &out, std::uint64_t value)
{
    char bytes[10];
    int n = 0;
    bytes[n++] = static_cast<char>(value & 0x7F);
    while (value >>= 7)
        bytes[n++] = static_cast<char>(0x80 | (value & 0x7F));
    while (n > 0)
        out.push_back(bytes[--n]);
}

void PutBe(std::string &out, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

SmfWriter::SmfWriter(int division, int format)
    : division_(division)
    , format_(format)
{
}

SmfWriter &SmfWriter::Track()
{
    tracks_.emplace_back();
    return *this;
}

SmfWriter::TrackData &SmfWriter::Current()
{
    if (tracks_.empty())
        tracks_.emplace_back();
    return tracks_.back();
}

SmfWriter &SmfWriter::Event(std::int64_t tick, const MidiMessage &message)
{
    std::string bytes;
    if (!message.empty() && message[0] == 0xF0) {
        bytes.push_back(static_cast<char>(0xF0));
        PutVlq(bytes, message.size() - 1);
        bytes.append(message.begin() + 1, message.end());
    } else {
        bytes.assign(message.begin(), message.end());
    }
    Current().items.push_back(Item{tick, bytes});
    return *this;
}

SmfWriter &SmfWriter::Tempo(std::int64_t tick, std::int64_t microsecondsPerQuarter)
{
    std::string data;
    PutBe(data, static_cast<std::uint32_t>(microsecondsPerQuarter), 3);
    return Meta(tick, 0x51, data);
}

SmfWriter &SmfWriter::Meta(std::int64_t tick, int type, const std::string &data)
{
    std::string bytes = {static_cast<char>(0xFF), static_cast<char>(type)};
    PutVlq(bytes, data.size());
    bytes += data;
    Current().items.push_back(Item{tick, bytes});
    return *this;
}

SmfWriter &SmfWriter::EndAt(std::int64_t tick)
{
    Current().end = tick;
    return *this;
}

std::string SmfWriter::Bytes() const
{
    std::string out = "MThd";
    PutBe(out, 6, 4);
    PutBe(out, static_cast<std::uint32_t>(format_), 2);
    PutBe(out, static_cast<std::uint32_t>(tracks_.size()), 2);
    PutBe(out, static_cast<std::uint32_t>(division_ & 0xFFFF), 2);
    for (const TrackData &track : tracks_) {
        std::vector<Item> items = track.items;
        std::stable_sort(items.begin(), items.end(),
                         [](const Item &a, const Item &b) { return a.tick < b.tick; });
        std::string body;
        std::int64_t tick = 0;
        for (const Item &item : items) {
            PutVlq(body, static_cast<std::uint64_t>(item.tick - tick));
            body += item.bytes;
            tick = item.tick;
        }
        PutVlq(body, static_cast<std::uint64_t>(std::max(track.end, tick) - tick));
        body += std::string("\xFF\x2F\x00", 3);
        out += "MTrk";
        PutBe(out, static_cast<std::uint32_t>(body.size()), 4);
        out += body;
    }
    return out;
}

} // namespace mci
