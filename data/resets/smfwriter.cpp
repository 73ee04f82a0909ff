#include "smfwriter.h"

#include <stdexcept>

namespace {

void PutBigEndian(std::string &out, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A MIDI variable-length quantity: seven bits per byte, high bit set on all but the last.
void PutVariableLength(std::string &out, std::uint32_t value)
{
    std::string reversed(1, static_cast<char>(value & 0x7F));
    while ((value >>= 7) != 0)
        reversed += static_cast<char>(0x80 | (value & 0x7F));
    out.append(reversed.rbegin(), reversed.rend());
}

void PutMeta(std::string &track, std::uint8_t type, const std::string &data)
{
    track += '\0'; // at the same tick as the event before
    track += static_cast<char>(0xFF);
    track += static_cast<char>(type);
    PutVariableLength(track, static_cast<std::uint32_t>(data.size()));
    track += data;
}

} // namespace

std::string BuildResetFile(const TResetMessage &reset)
{
    const auto &sysex = reset.sysex;
    if (sysex.size() < 2 || sysex.front() != 0xF0 || sysex.back() != 0xF7)
        throw std::invalid_argument(reset.fileName + ": a System Exclusive message runs F0 .. F7");
    if (reset.settleMs < 0)
        throw std::invalid_argument(reset.fileName + ": the settling time cannot be negative");

    std::string track;
    PutMeta(track, 0x03, reset.trackName);
    std::string tempo;
    PutBigEndian(tempo, ResetTempoMicroseconds, 3);
    PutMeta(track, 0x51, tempo);

    // In a file the F0 is followed by the length of the rest of the message, F7 included.
    track += '\0';
    track += static_cast<char>(0xF0);
    PutVariableLength(track, static_cast<std::uint32_t>(sysex.size() - 1));
    track.append(sysex.begin() + 1, sysex.end());

    PutVariableLength(track, static_cast<std::uint32_t>(reset.settleMs));
    track += std::string("\xFF\x2F\x00", 3);

    std::string file = "MThd";
    PutBigEndian(file, 6, 4);
    PutBigEndian(file, 0, 2); // format 0
    PutBigEndian(file, 1, 2); // one track
    PutBigEndian(file, ResetDivision, 2);
    file += "MTrk";
    PutBigEndian(file, static_cast<std::uint32_t>(track.size()), 4);
    return file + track;
}
