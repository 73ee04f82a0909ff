#pragma once
// Short Standard MIDI Files that put a sound module into a known state: one System
// Exclusive message at the start, then silence while the module settles.

#include <cstdint>
#include <string>
#include <vector>

struct TResetMessage
{
    std::string fileName;            // e.g. "GM.MID"
    std::string trackName;           // shown as the song's title
    std::vector<std::uint8_t> sysex; // the complete message, F0 ... F7
    int settleMs = 0;                // how long the file runs on after the message
};

// Ticks per quarter note and tempo of every reset file: 480 ticks of 1 ms each.
constexpr int ResetDivision = 480;
constexpr int ResetTempoMicroseconds = 480000;

// The bytes of a format-0 file: track name, tempo and the message at tick 0, End of Track
// at tick settleMs, so the file plays exactly settleMs milliseconds. Throws
// std::invalid_argument for a message that is not framed by F0 and F7.
std::string BuildResetFile(const TResetMessage &reset);
