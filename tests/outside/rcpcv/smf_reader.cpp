#include "smf_reader.h"

#include <cstdio>
#include <map>
#include <stdexcept>

namespace rcpcv_test {

namespace {

class Reader
{
public:
    Reader(const std::string &bytes, size_t at, size_t end)
        : bytes_(bytes)
        , at_(at)
        , end_(end)
    {
    }

    bool AtEnd() const { return at_ >= end_; }
    size_t Position() const { return at_; }
    uint8_t Byte()
    {
        if (at_ >= end_)
            throw std::runtime_error("SMF ends inside an event");
        return static_cast<uint8_t>(bytes_[at_++]);
    }
    uint32_t BigEndian(int count)
    {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = value << 8 | Byte();
        return value;
    }
    uint32_t VariableLength()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const uint8_t byte = Byte();
            value = value << 7 | (byte & 0x7F);
            if ((byte & 0x80) == 0)
                return value;
        }
        throw std::runtime_error("variable-length number longer than 4 bytes");
    }
    void Append(std::vector<uint8_t> &out, uint32_t count)
    {
        for (uint32_t i = 0; i < count; ++i)
            out.push_back(Byte());
    }

private:
    const std::string &bytes_;
    size_t at_;
    size_t end_;
};

int DataBytes(uint8_t status)
{
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

MidiTrack ParseTrack(Reader &in)
{
    MidiTrack track;
    uint32_t tick = 0;
    uint8_t running = 0;
    while (!in.AtEnd()) {
        tick += in.VariableLength();
        MidiEvent event{tick, {}};
        uint8_t status = in.Byte();
        if (status == 0xFF) {
            const uint8_t type = in.Byte();
            const uint32_t length = in.VariableLength();
            if (type == 0x2F) {
                track.endTick = tick;
                if (!in.AtEnd())
                    throw std::runtime_error("data after the end of track");
                return track;
            }
            event.bytes = {0xFF, type};
            in.Append(event.bytes, length);
            running = 0;
        } else if (status == 0xF0) {
            const uint32_t length = in.VariableLength();
            event.bytes = {0xF0};
            in.Append(event.bytes, length);
            running = 0;
        } else {
            if (status < 0x80) {
                if (running == 0)
                    throw std::runtime_error("data byte without a status");
                event.bytes.push_back(running);
                event.bytes.push_back(status);
                in.Append(event.bytes, static_cast<uint32_t>(DataBytes(running) - 1));
            } else {
                running = status;
                event.bytes.push_back(status);
                in.Append(event.bytes, static_cast<uint32_t>(DataBytes(status)));
            }
            for (size_t i = 1; i < event.bytes.size(); ++i) {
                if (event.bytes[i] >= 0x80)
                    throw std::runtime_error("channel data byte of 0x80 or more");
            }
        }
        track.events.push_back(std::move(event));
    }
    throw std::runtime_error("track without end of track");
}

std::string HexText(const std::vector<uint8_t> &bytes)
{
    std::string text;
    char part[4];
    for (const uint8_t byte : bytes) {
        std::snprintf(part, sizeof part, text.empty() ? "%02X" : " %02X", byte);
        text += part;
    }
    return text;
}

} // namespace

MidiFile ParseSmf(const std::string &bytes)
{
    Reader in(bytes, 0, bytes.size());
    if (bytes.compare(0, 4, "MThd") != 0)
        throw std::runtime_error("no MThd");
    in.BigEndian(4);
    if (in.BigEndian(4) != 6)
        throw std::runtime_error("MThd length is not 6");
    MidiFile file;
    file.format = in.BigEndian(2);
    const uint32_t count = in.BigEndian(2);
    file.division = in.BigEndian(2);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = in.Position();
        if (bytes.compare(at, 4, "MTrk") != 0)
            throw std::runtime_error("no MTrk");
        in.BigEndian(4);
        const uint32_t length = in.BigEndian(4);
        if (length > bytes.size() - in.Position())
            throw std::runtime_error("MTrk runs past the end of the file");
        Reader track(bytes, in.Position(), in.Position() + length);
        file.tracks.push_back(ParseTrack(track));
        for (uint32_t skip = 0; skip < length; ++skip)
            in.Byte();
    }
    if (!in.AtEnd())
        throw std::runtime_error("data after the last track");
    return file;
}

bool PlayedNote::operator==(const PlayedNote &other) const
{
    return tick == other.tick && channel == other.channel && key == other.key &&
           velocity == other.velocity && length == other.length;
}

std::vector<PlayedNote> Notes(const MidiTrack &track)
{
    std::vector<PlayedNote> notes;
    std::map<int, size_t> sounding; // channel * 128 + key -> index in notes
    for (const MidiEvent &event : track.events) {
        const uint8_t kind = event.bytes[0] & 0xF0;
        if (kind != 0x80 && kind != 0x90)
            continue;
        const uint8_t channel = event.bytes[0] & 0x0F;
        const int slot = channel * 128 + event.bytes[1];
        const bool on = kind == 0x90 && event.bytes[2] != 0;
        const auto found = sounding.find(slot);
        if (on) {
            if (found != sounding.end())
                throw std::runtime_error("note-on of a key already sounding");
            sounding[slot] = notes.size();
            notes.push_back({event.tick, channel, event.bytes[1], event.bytes[2], 0});
        } else {
            if (found == sounding.end())
                throw std::runtime_error("note-off without note-on");
            notes[found->second].length = event.tick - notes[found->second].tick;
            sounding.erase(found);
        }
    }
    if (!sounding.empty())
        throw std::runtime_error("note left sounding");
    return notes;
}

std::vector<std::string> Lines(const MidiTrack &track, const std::vector<uint8_t> &skipMeta)
{
    std::vector<std::string> lines;
    for (const MidiEvent &event : track.events) {
        bool skip = false;
        for (const uint8_t type : skipMeta)
            skip = skip || (event.bytes[0] == 0xFF && event.bytes[1] == type);
        if (!skip)
            lines.push_back(std::to_string(event.tick) + ": " + HexText(event.bytes));
    }
    return lines;
}

std::vector<std::string> MetaTexts(const MidiTrack &track, uint8_t type)
{
    std::vector<std::string> texts;
    for (const MidiEvent &event : track.events) {
        if (event.bytes[0] == 0xFF && event.bytes[1] == type)
            texts.emplace_back(event.bytes.begin() + 2, event.bytes.end());
    }
    return texts;
}

std::string SmfProbeTitle(const std::string &smf)
{
    const std::string window = smf.substr(0, 500);
    for (size_t i = 0; i + 1 < window.size(); ++i) {
        if (window[i] == '\xFF' && window[i + 1] == '\x03' && i + 2 < window.size()) {
            const size_t length = static_cast<uint8_t>(window[i + 2]);
            return window.substr(i + 3, length);
        }
    }
    return {};
}

std::string RcpProbeTitle(const std::string &song)
{
    std::string field = song.size() > 32 ? song.substr(32, 64) : std::string();
    field = field.substr(0, field.find('\0'));
    const auto blank = [](char c) { return static_cast<uint8_t>(c) <= 0x20; };
    while (!field.empty() && blank(field.back()))
        field.pop_back();
    size_t first = 0;
    while (first < field.size() && blank(field[first]))
        ++first;
    return field.substr(first);
}

} // namespace rcpcv_test
