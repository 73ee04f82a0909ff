#include "song_builder.h"

#include <sstream>

namespace rcpcv_test {

namespace {

constexpr char kRcpMagic[] = "RCM-PC98V2.0(C)COME ON MUSIC\r\n\0\0";
constexpr char kG36Magic[] = "COME ON MUSIC RECOMPOSER RCP3.0";
constexpr size_t kMagicSize = 32;

size_t HeaderSize(Layout layout)
{
    return layout == Layout::kRcp ? 0x586 : 0xC98;
}

size_t TrackHeaderSize(Layout layout)
{
    return layout == Layout::kRcp ? 44 : 46;
}

size_t EventSize(Layout layout)
{
    return layout == Layout::kRcp ? 4 : 6;
}

} // namespace

std::vector<uint8_t> Hex(const std::string &text)
{
    std::istringstream in(text);
    std::vector<uint8_t> bytes;
    unsigned value = 0;
    while (in >> std::hex >> value)
        bytes.push_back(static_cast<uint8_t>(value));
    return bytes;
}

SongBuilder::SongBuilder(Layout layout, unsigned tracks)
    : layout_(layout)
    , header_(HeaderSize(layout), '\0')
    , tracks_(tracks)
{
    Put(0, std::string(layout == Layout::kRcp ? kRcpMagic : kG36Magic, kMagicSize));
    Put(0x20, std::string(layout == Layout::kRcp ? 64 : 128, ' '));
    Timebase(48).Tempo(120).Beat(4, 4).StoredTrackCount(tracks);
    for (size_t i = 0; i < 8; ++i)
        UserExclusive(i, {});
}

void SongBuilder::Put(size_t offset, const std::string &bytes)
{
    header_.replace(offset, bytes.size(), bytes);
}

void SongBuilder::PutU16(size_t offset, unsigned value)
{
    header_[offset] = static_cast<char>(value & 0xFF);
    header_[offset + 1] = static_cast<char>(value >> 8);
}

SongBuilder &SongBuilder::Title(const std::string &title)
{
    Put(0x20, title);
    return *this;
}

SongBuilder &SongBuilder::Memo(size_t line, const std::string &text)
{
    Put(layout_ == Layout::kRcp ? 0x60 + line * 28 : 0xA0 + line * 30, text);
    return *this;
}

SongBuilder &SongBuilder::Timebase(unsigned ticks)
{
    if (layout_ == Layout::kRcp) {
        header_[0x1C0] = static_cast<char>(ticks & 0xFF);
        header_[0x1E7] = static_cast<char>(ticks >> 8);
    } else {
        PutU16(0x20A, ticks);
    }
    return *this;
}

SongBuilder &SongBuilder::Tempo(unsigned bpm)
{
    if (layout_ == Layout::kRcp)
        header_[0x1C1] = static_cast<char>(bpm);
    else
        PutU16(0x20C, bpm);
    return *this;
}

SongBuilder &SongBuilder::Beat(uint8_t numerator, uint8_t denominator)
{
    const size_t at = layout_ == Layout::kRcp ? 0x1C2 : 0x20E;
    header_[at] = static_cast<char>(numerator);
    header_[at + 1] = static_cast<char>(denominator);
    return *this;
}

SongBuilder &SongBuilder::Key(uint8_t key)
{
    header_[layout_ == Layout::kRcp ? 0x1C4 : 0x210] = static_cast<char>(key);
    return *this;
}

SongBuilder &SongBuilder::PlayBias(int8_t bias)
{
    header_[layout_ == Layout::kRcp ? 0x1C5 : 0x211] = static_cast<char>(bias);
    return *this;
}

SongBuilder &SongBuilder::StoredTrackCount(unsigned count)
{
    if (layout_ == Layout::kRcp)
        header_[0x1E6] = static_cast<char>(count);
    else
        PutU16(0x208, count);
    return *this;
}

SongBuilder &SongBuilder::Cm6(const std::string &name)
{
    Put(layout_ == Layout::kRcp ? 0x1C6 : 0x2B8, name);
    return *this;
}

SongBuilder &SongBuilder::Gsd(const std::string &name, int port)
{
    Put(layout_ == Layout::kRcp ? 0x1D6 : (port == 0 ? 0x298 : 0x2A8), name);
    return *this;
}

SongBuilder &SongBuilder::UserExclusive(size_t index, const std::vector<uint8_t> &data)
{
    const size_t nameSize = layout_ == Layout::kRcp ? 24 : 23;
    const size_t entry = (layout_ == Layout::kRcp ? 0x406 : 0xB18) + index * 48;
    std::string bytes(data.begin(), data.end());
    bytes.resize(48 - nameSize, '\xF7');
    Put(entry, std::string(nameSize, ' '));
    Put(entry + nameSize, bytes);
    return *this;
}

SongBuilder &SongBuilder::Footer(const std::string &bytes)
{
    footer_ = bytes;
    return *this;
}

Ev SongBuilder::SameMeasure(uint16_t bar, size_t targetIndex) const
{
    if (layout_ == Layout::kG36)
        return {0xFC, bar, static_cast<uint16_t>(targetIndex + 0x30), 0};
    const size_t offset = TrackHeaderSize(layout_) + targetIndex * 4;
    return {0xFC, static_cast<uint16_t>(bar & 0xFF),
            static_cast<uint16_t>((offset & 0xFC) | ((bar >> 8) & 3)),
            static_cast<uint8_t>(offset >> 8)};
}

std::vector<Ev> SongBuilder::Long(uint8_t cmd, const std::vector<uint8_t> &data, bool withOwn,
                                  uint8_t p1, uint8_t p2) const
{
    const size_t perEvent = layout_ == Layout::kRcp ? 2 : 5;
    std::vector<uint8_t> padded = data;
    while (padded.empty() || padded.size() % perEvent != 0)
        padded.push_back(0xF7);
    // Encodes perEvent data bytes into the parameter fields of an event.
    const auto carry = [&](uint8_t command, size_t at) {
        const auto b = [&](size_t i) { return padded[at + i]; };
        if (layout_ == Layout::kRcp)
            return Ev{command, 0, b(0), b(1)};
        return Ev{command, static_cast<uint16_t>(b(1) | b(2) << 8),
                  static_cast<uint16_t>(b(3) | b(4) << 8), b(0)};
    };
    std::vector<Ev> events;
    size_t at = 0;
    if (withOwn) {
        events.push_back(carry(cmd, 0));
        at = perEvent;
    } else {
        events.push_back({cmd, 0, p1, p2});
    }
    for (; at < padded.size(); at += perEvent)
        events.push_back(carry(0xF7, at));
    return events;
}

std::string SongBuilder::EncodeTrack(const TrackSpec &track) const
{
    std::string body;
    for (const Ev &e : track.events) {
        if (layout_ == Layout::kRcp) {
            body += {static_cast<char>(e.cmd), static_cast<char>(e.step), static_cast<char>(e.p1),
                     static_cast<char>(e.p2)};
        } else {
            body += {static_cast<char>(e.cmd),         static_cast<char>(e.p2),
                     static_cast<char>(e.step & 0xFF), static_cast<char>(e.step >> 8),
                     static_cast<char>(e.p1 & 0xFF),   static_cast<char>(e.p1 >> 8)};
        }
    }
    if (track.events.empty() || track.events.back().cmd != 0xFE)
        body += std::string(EventSize(layout_), '\xFE');

    const size_t headerSize = TrackHeaderSize(layout_);
    std::string header(headerSize, '\0');
    const uint32_t length =
        track.statedLength.value_or(static_cast<uint32_t>(headerSize + body.size()));
    for (size_t i = 0; i < (layout_ == Layout::kRcp ? 2u : 4u); ++i)
        header[i] = static_cast<char>(length >> (8 * i));
    const size_t fields = layout_ == Layout::kRcp ? 2 : 4;
    const std::string values{1,
                             0,
                             static_cast<char>(track.channel),
                             static_cast<char>(track.keyShift),
                             static_cast<char>(track.stShift),
                             static_cast<char>(track.mode)};
    header.replace(fields, values.size(), values);
    std::string name = track.name;
    name.resize(36, ' ');
    header.replace(fields + 6, 36, name);
    return header + body;
}

std::string SongBuilder::Build() const
{
    std::string file = header_;
    for (const TrackSpec &track : tracks_)
        file += EncodeTrack(track);
    return file + footer_;
}

} // namespace rcpcv_test
