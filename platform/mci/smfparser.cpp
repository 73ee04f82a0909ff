#include "platform/mci/smfparser.h"

#include "platform/mci/riff.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace mci {

namespace {

constexpr std::int64_t kDefaultTempo = 500000;

std::uint32_t Be32(const std::uint8_t *p)
{
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

std::uint16_t Be16(const std::uint8_t *p)
{
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

// Bounds-checked reading of one track's bytes; every read reports whether it fit.
class Reader
{
public:
    explicit Reader(ByteRange bytes)
        : bytes_(bytes)
    {
    }

    bool AtEnd() const { return pos_ >= bytes_.size; }
    bool Byte(std::uint8_t &value)
    {
        if (AtEnd())
            return false;
        value = bytes_.data[pos_++];
        return true;
    }
    // A variable-length quantity of at most four bytes.
    bool Vlq(std::uint32_t &value)
    {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t b = 0;
            if (!Byte(b))
                return false;
            value = (value << 7) | (b & 0x7Fu);
            if ((b & 0x80) == 0)
                return true;
        }
        return false;
    }
    // The next length bytes, when the track holds that many.
    bool Take(std::uint32_t length, const std::uint8_t *&data)
    {
        if (length > bytes_.size - pos_)
            return false;
        data = bytes_.data + pos_;
        pos_ += length;
        return true;
    }

private:
    ByteRange bytes_;
    std::size_t pos_ = 0;
};

// Data bytes that follow a system common or real-time status byte (F1-FE, not F7).
int SystemDataLength(std::uint8_t status)
{
    switch (status) {
    case 0xF1:
    case 0xF3:
        return 1;
    case 0xF2:
        return 2;
    default:
        return 0;
    }
}

// Collects the events of the tracks into the song, one track at a time.
class TrackReader
{
public:
    TrackReader(Song &song, std::vector<TempoChange> &tempos)
        : song_(song)
        , tempos_(tempos)
    {
    }

    // Reads one track whose first tick is offset; returns the tick it ends on.
    std::int64_t Read(ByteRange bytes, std::int64_t offset);

private:
    bool ReadMeta(Reader &reader, std::int64_t tick, bool &endOfTrack);
    void FeedBytes(std::int64_t tick, const std::uint8_t *data, std::size_t size);
    void FeedSysExByte(std::int64_t tick, std::uint8_t byte);
    void StartSysEx(std::int64_t tick);
    void AddChannel(std::int64_t tick, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    void AddSysEx(std::int64_t tick, const MidiMessage &message);
    void Add(SongEvent event);
    void CheckRoom() const;

    Song &song_;
    std::vector<TempoChange> &tempos_;
    MidiMessage sysex_; // a system-exclusive message still waiting for its F7
    std::int64_t sysexTick_ = 0;
    bool inSysEx_ = false;
    std::uint8_t port_ = 0; // of the track's events from its last port prefix on
};

std::int64_t TrackReader::Read(ByteRange bytes, std::int64_t offset)
{
    Reader reader(bytes);
    inSysEx_ = false;
    port_ = 0;
    std::int64_t tick = offset;
    std::int64_t end = offset;
    std::uint8_t running = 0;
    while (!reader.AtEnd()) {
        std::uint32_t delta = 0;
        std::uint8_t lead = 0;
        if (!reader.Vlq(delta) || !reader.Byte(lead))
            break;
        tick += delta;
        if (lead == 0xFF) {
            bool endOfTrack = false;
            if (!ReadMeta(reader, tick, endOfTrack))
                break;
            end = tick;
            if (endOfTrack)
                break;
            continue;
        }
        if (lead == 0xF0 || lead == 0xF7) {
            std::uint32_t length = 0;
            const std::uint8_t *data = nullptr;
            if (!reader.Vlq(length) || !reader.Take(length, data))
                break;
            if (lead == 0xF0)
                StartSysEx(tick);
            FeedBytes(tick, data, length);
            end = tick;
            continue;
        }
        if (lead > 0xF0) {
            const std::uint8_t *ignored = nullptr;
            if (!reader.Take(static_cast<std::uint32_t>(SystemDataLength(lead)), ignored))
                break;
            end = tick;
            continue;
        }
        std::uint8_t status = running;
        std::uint8_t data1 = lead;
        if (lead & 0x80) {
            status = running = lead;
            if (!reader.Byte(data1))
                break;
        }
        std::uint8_t data2 = 0;
        if (status == 0)
            break;
        if (ChannelDataLength(status) == 2 && !reader.Byte(data2))
            break;
        // Data bytes are taken by count, as the Windows sequencer took them: one of 80H or
        // more inside the message is a value out of range, not the next status.
        AddChannel(tick, status, std::min<std::uint8_t>(data1, 0x7F),
                   std::min<std::uint8_t>(data2, 0x7F));
        end = tick;
    }
    return end;
}

bool TrackReader::ReadMeta(Reader &reader, std::int64_t tick, bool &endOfTrack)
{
    std::uint8_t type = 0;
    std::uint32_t length = 0;
    const std::uint8_t *data = nullptr;
    if (!reader.Byte(type) || !reader.Vlq(length) || !reader.Take(length, data))
        return false;
    if (type == 0x2F) {
        endOfTrack = true;
    } else if (type == 0x21 && length >= 1) {
        port_ = static_cast<std::uint8_t>(data[0] % kPorts);
    } else if ((type == 0x01 || type == 0x05 || type == 0x06) && length <= kMaxSongTextBytes &&
               song_.texts.size() < kMaxSongTexts) {
        song_.texts.push_back(SongText{tick, type, song_.tracks,
                                       std::string(reinterpret_cast<const char *>(data), length)});
    } else if (type == 0x51 && length >= 3) {
        const std::int64_t tempo = data[0] << 16 | data[1] << 8 | data[2];
        if (tempo > 0)
            tempos_.push_back(TempoChange{tick, tempo});
    }
    return true;
}

void TrackReader::StartSysEx(std::int64_t tick)
{
    sysex_.assign(1, 0xF0);
    sysexTick_ = tick;
    inSysEx_ = true;
}

// Reads packet bytes as a MIDI byte stream: system-exclusive data while a message is open,
// else channel messages with their own status bytes.
void TrackReader::FeedBytes(std::int64_t tick, const std::uint8_t *data, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t byte = data[i];
        if (inSysEx_) {
            FeedSysExByte(tick, byte);
        } else if (byte == 0xF0) {
            StartSysEx(tick);
        } else if (byte >= 0x80 && byte < 0xF0) {
            const std::size_t need = static_cast<std::size_t>(ChannelDataLength(byte));
            if (size - i - 1 < need || (data[i + 1] & 0x80) || (need == 2 && (data[i + 2] & 0x80)))
                continue;
            AddChannel(tick, byte, data[i + 1], need == 2 ? data[i + 2] : 0);
            i += need;
        }
    }
}

void TrackReader::FeedSysExByte(std::int64_t tick, std::uint8_t byte)
{
    if (byte == 0xF7) {
        sysex_.push_back(byte);
        inSysEx_ = false;
        if (sysex_.size() > 2)
            AddSysEx(sysexTick_, sysex_);
    } else if (byte & 0x80) {
        // A status byte breaks the message off: it is dropped, and F0 starts the next one.
        inSysEx_ = false;
        if (byte == 0xF0)
            StartSysEx(tick);
    } else {
        sysex_.push_back(byte);
    }
}

void TrackReader::CheckRoom() const
{
    if (song_.events.size() >= kMaxSongEvents)
        throw SongFormatError("has too many events to play (more than " +
                              std::to_string(kMaxSongEvents) + ")");
}

void TrackReader::AddChannel(std::int64_t tick, std::uint8_t status, std::uint8_t data1,
                             std::uint8_t data2)
{
    CheckRoom();
    SongEvent event;
    event.tick = tick;
    event.bytes[0] = status;
    event.bytes[1] = data1;
    event.bytes[2] = data2;
    Add(event);
}

void TrackReader::AddSysEx(std::int64_t tick, const MidiMessage &message)
{
    CheckRoom();
    SongEvent event;
    event.tick = tick;
    event.bytes[0] = 0xF0;
    event.sysex = static_cast<std::uint32_t>(song_.sysexData.size());
    const auto length = static_cast<std::uint32_t>(message.size());
    for (int i = 0; i < 4; ++i)
        song_.sysexData.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    song_.sysexData.insert(song_.sysexData.end(), message.begin(), message.end());
    Add(event);
}

void TrackReader::Add(SongEvent event)
{
    event.port = port_;
    song_.ports |= 1u << port_;
    song_.events.push_back(event);
}

void CheckDivision(std::uint16_t division)
{
    if (division & 0x8000) {
        const int framesPerSecond = -static_cast<std::int8_t>(division >> 8);
        const bool validRate = framesPerSecond == 24 || framesPerSecond == 25 ||
                               framesPerSecond == 29 || framesPerSecond == 30;
        if (!validRate || (division & 0xFF) == 0)
            throw SongFormatError("is not a valid MIDI file: its SMPTE time division is invalid");
    } else if (division == 0) {
        throw SongFormatError("is not a valid MIDI file: its time division is 0");
    }
}

constexpr std::size_t kHeaderEnd = 14;

bool IsTrackAt(ByteRange smf, std::size_t pos)
{
    return smf.size >= 4 && pos <= smf.size - 4 && std::memcmp(smf.data + pos, "MTrk", 4) == 0;
}

// True when four printable characters stand at pos, as a chunk's name does.
bool IsChunkId(ByteRange smf, std::size_t pos)
{
    if (smf.size < 4 || pos > smf.size - 4)
        return false;
    return std::all_of(smf.data + pos, smf.data + pos + 4,
                       [](std::uint8_t c) { return c >= 0x20 && c < 0x7F; });
}

// The next "MTrk" at or after pos; smf.size when there is none.
std::size_t FindTrack(ByteRange smf, std::size_t pos)
{
    static const char kId[] = "MTrk";
    const std::uint8_t *end = smf.data + smf.size;
    const std::uint8_t *found = std::search(smf.data + std::min(pos, smf.size), end, kId, kId + 4);
    return static_cast<std::size_t>(found - smf.data);
}

struct Header
{
    int format = 0;
    int tracks = 0;
    std::uint16_t division = 0;
    std::size_t end = 0; // where the chunks after the header start
};

Header ReadHeader(ByteRange smf)
{
    if (smf.size < 8 || std::memcmp(smf.data, "MThd", 4) != 0)
        throw SongFormatError("is not a MIDI file");
    const std::uint32_t length = Be32(smf.data + 4);
    if (length < 6)
        throw SongFormatError("is not a valid MIDI file: its header is too short");
    if (smf.size < 14)
        throw SongFormatError("is truncated: its MIDI header is incomplete");
    Header header;
    header.format = Be16(smf.data + 8);
    header.tracks = Be16(smf.data + 10);
    header.division = Be16(smf.data + 12);
    header.end = std::min<std::size_t>(smf.size, std::size_t{8} + length);
    // A header that claims more than its six bytes while the first track follows them
    // straight away has a wrong length, not extra fields.
    if (header.end > kHeaderEnd && !IsChunkId(smf, header.end) && IsTrackAt(smf, kHeaderEnd))
        header.end = kHeaderEnd;
    if (header.format > 2)
        throw SongFormatError("has an unknown MIDI file format (" + std::to_string(header.format) +
                              ")");
    CheckDivision(header.division);
    return header;
}

// Tracks are read one after another: their items are put in time order, keeping track
// order on one tick.
template<class Item>
void SortByTick(std::vector<Item> &items)
{
    const auto earlier = [](const Item &a, const Item &b) { return a.tick < b.tick; };
    if (!std::is_sorted(items.begin(), items.end(), earlier))
        std::stable_sort(items.begin(), items.end(), earlier);
}

TempoMap MakeTempoMap(std::uint16_t division, std::vector<TempoChange> &tempos)
{
    if (division & 0x8000)
        return TempoMap::Timecode(-static_cast<std::int8_t>(division >> 8), division & 0xFF);
    SortByTick(tempos);
    return TempoMap::Metrical(division, tempos);
}

} // namespace

Song ParseSong(const std::uint8_t *data, std::size_t size)
{
    if (size > kMaxSongBytes)
        throw SongFormatError("is too large for a MIDI file (more than " +
                              std::to_string(kMaxSongBytes >> 20) + " MB)");
    ByteRange smf{data, size};
    if (IsRiff(smf))
        smf = RmidMidiData(smf);
    const Header header = ReadHeader(smf);

    Song song;
    song.format = header.format;
    std::vector<TempoChange> tempos;
    TrackReader tracks(song, tempos);
    std::int64_t length = 0;
    std::size_t pos = header.end;
    while (song.tracks < header.tracks && smf.size - pos >= 8) {
        if (!IsChunkId(smf, pos)) {
            // Out of step with the chunks (a wrong length before): go on at the next track.
            pos = FindTrack(smf, pos);
            continue;
        }
        const std::uint8_t *chunk = smf.data + pos;
        const std::size_t claimed = Be32(chunk + 4);
        const std::size_t start = pos + 8;
        const std::size_t available = smf.size - start;
        if (std::memcmp(chunk, "MTrk", 4) == 0) {
            const std::int64_t offset = header.format == 2 ? length : 0;
            if (header.format == 2)
                tempos.push_back(TempoChange{offset, kDefaultTempo});
            const std::int64_t end =
                tracks.Read(ByteRange{smf.data + start, std::min(claimed, available)}, offset);
            length = std::max(length, end);
            ++song.tracks;
        }
        if (claimed > available)
            break;
        pos = start + claimed;
    }
    if (header.tracks > 0 && song.tracks == 0)
        throw SongFormatError("is truncated: it holds no track");

    SortByTick(song.events);
    SortByTick(song.texts);
    song.ticksPerQuarter = (header.division & 0x8000) ? 0 : header.division;
    song.tempo = MakeTempoMap(header.division, tempos);
    if (song.ticksPerQuarter > 0)
        song.tempoChanges = std::move(tempos);
    song.lengthTicks = length;
    song.lengthNs = song.tempo.TickToNs(length);
    if (song.lengthNs > kMaxSongNs)
        throw SongFormatError("is too long to play (its events lie over a century apart)");
    return song;
}

} // namespace mci
