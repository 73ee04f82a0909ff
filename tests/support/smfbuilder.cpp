#include "support/smfbuilder.h"

#include <algorithm>

namespace testing_support {
namespace {

void PutVarLen(std::string &out, std::uint32_t value)
{
    char bytes[5];
    int n = 0;
    bytes[n++] = static_cast<char>(value & 0x7F);
    while ((value >>= 7) != 0)
        bytes[n++] = static_cast<char>((value & 0x7F) | 0x80);
    while (n > 0)
        out += bytes[--n];
}

void PutBE(std::string &out, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

std::string MakeSmf(std::uint32_t lengthMs, const std::string &title,
                    const std::vector<std::uint32_t> &notes)
{
    struct Event
    {
        std::uint32_t time;
        std::string bytes;
    };
    std::vector<Event> events;
    if (!title.empty()) {
        std::string meta = "\xFF\x03";
        PutVarLen(meta, static_cast<std::uint32_t>(title.size()));
        events.push_back({0, meta + title});
    }
    events.push_back({0, std::string("\xFF\x51\x03\x07\xA1\x20", 6)});
    for (std::uint32_t t : notes) {
        events.push_back({t, std::string("\x90\x3C\x64", 3)});
        events.push_back({t + 10, std::string("\x80\x3C\x00", 3)});
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event &a, const Event &b) { return a.time < b.time; });
    std::string track;
    std::uint32_t now = 0;
    for (const Event &e : events) {
        PutVarLen(track, e.time - now);
        track += e.bytes;
        now = e.time;
    }
    PutVarLen(track, lengthMs > now ? lengthMs - now : 0);
    track += std::string("\xFF\x2F\x00", 3);

    std::string file = "MThd";
    PutBE(file, 6, 4);
    PutBE(file, 0, 2);
    PutBE(file, 1, 2);
    PutBE(file, 500, 2);
    file += "MTrk";
    PutBE(file, static_cast<std::uint32_t>(track.size()), 4);
    return file + track;
}

} // namespace testing_support
