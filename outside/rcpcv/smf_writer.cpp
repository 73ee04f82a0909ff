#include "outside/rcpcv/smf_writer.h"

#include <algorithm>

namespace rcpcv {

namespace {

constexpr uint8_t kSysEx = 0xF0;
constexpr uint8_t kMeta = 0xFF;
constexpr uint8_t kEndOfTrack = 0x2F;

void PutVariableLength(std::string &out, uint32_t value)
{
    char bytes[5];
    int count = 0;
    bytes[count++] = static_cast<char>(value & 0x7F);
    while ((value >>= 7) != 0)
        bytes[count++] = static_cast<char>(0x80 | (value & 0x7F));
    while (count > 0)
        out.push_back(bytes[--count]);
}

void PutBigEndian(std::string &out, uint32_t value, int bytes)
{
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(value >> shift));
}

// Appends one event after its delta time; running status carries over channel messages
// of the same status only.
void PutEvent(std::string &out, const std::string &event, uint8_t &runningStatus)
{
    const auto status = static_cast<uint8_t>(event[0]);
    if (status == kSysEx) {
        out.push_back(event[0]);
        PutVariableLength(out, static_cast<uint32_t>(event.size() - 1));
        out.append(event, 1, std::string::npos);
        runningStatus = 0;
    } else if (status == kMeta) {
        out.append(event, 0, 2);
        PutVariableLength(out, static_cast<uint32_t>(event.size() - 2));
        out.append(event, 2, std::string::npos);
        runningStatus = 0;
    } else {
        out.append(event, status == runningStatus ? 1 : 0, std::string::npos);
        runningStatus = status;
    }
}

// Appends the MTrk chunk of the track to out.
void PutTrackChunk(std::string &out, const SmfTrack &track)
{
    out += "MTrk";
    const size_t lengthAt = out.size();
    PutBigEndian(out, 0, 4);
    uint32_t now = 0;
    uint8_t runningStatus = 0;
    for (const SmfEvent &event : track.events) {
        if (event.bytes.empty())
            continue;
        const uint32_t tick = std::max(event.tick, now);
        PutVariableLength(out, tick - now);
        now = tick;
        PutEvent(out, event.bytes, runningStatus);
    }
    PutVariableLength(out, std::max(track.endTick, now) - now);
    out += {static_cast<char>(kMeta), static_cast<char>(kEndOfTrack), 0};

    std::string length;
    PutBigEndian(length, static_cast<uint32_t>(out.size() - lengthAt - 4), 4);
    out.replace(lengthAt, 4, length);
}

} // namespace

std::string WriteSmf(const Song &song)
{
    std::string out = "MThd";
    PutBigEndian(out, 6, 4);
    PutBigEndian(out, 1, 2);
    PutBigEndian(out, static_cast<uint32_t>(song.tracks.size()), 2);
    PutBigEndian(out, song.division, 2);
    size_t events = 0;
    for (const SmfTrack &track : song.tracks)
        events += track.events.size() + 1;
    out.reserve(out.size() + song.tracks.size() * 8 + events * 4);
    for (const SmfTrack &track : song.tracks)
        PutTrackChunk(out, track);
    return out;
}

} // namespace rcpcv
