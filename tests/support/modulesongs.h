#pragma once
// System-exclusive messages of GM, GS and XG modules, built as their MIDI implementation
// charts give them, for songs that test and measure the module layer.

#include "platform/mci/midimessage.h"

#include <initializer_list>

namespace modulesongs {

// The bytes given, as a message.
inline mci::MidiMessage Bytes(std::initializer_list<int> bytes)
{
    mci::MidiMessage m;
    for (const int b : bytes)
        m.push_back(static_cast<std::uint8_t>(b));
    return m;
}

// Roland data set 1 (DT1): F0 41 dev 42 12 address data checksum F7; checksumError is
// added to the right checksum.
inline mci::MidiMessage Roland(int device, int a1, int a2, int a3, std::initializer_list<int> data,
                               int checksumError = 0)
{
    mci::MidiMessage m = Bytes({0xF0, 0x41, device, 0x42, 0x12, a1, a2, a3});
    int sum = a1 + a2 + a3;
    for (const int d : data) {
        m.push_back(static_cast<std::uint8_t>(d));
        sum += d;
    }
    m.push_back(static_cast<std::uint8_t>((128 - (sum & 0x7F) + checksumError) & 0x7F));
    m.push_back(0xF7);
    return m;
}

// Yamaha XG parameter change: F0 43 1n 4C address data F7.
inline mci::MidiMessage Yamaha(int device, int a1, int a2, int a3, std::initializer_list<int> data)
{
    mci::MidiMessage m = Bytes({0xF0, 0x43, device, 0x4C, a1, a2, a3});
    for (const int d : data)
        m.push_back(static_cast<std::uint8_t>(d));
    m.push_back(0xF7);
    return m;
}

inline mci::MidiMessage GsReset(int device = 0x10)
{
    return Roland(device, 0x40, 0x00, 0x7F, {0x00});
}
inline mci::MidiMessage XgOn(int device = 0x10)
{
    return Yamaha(device, 0x00, 0x00, 0x7E, {0x00});
}
inline mci::MidiMessage GmOn(int device = 0x7F)
{
    return Bytes({0xF0, 0x7E, device, 0x09, 0x01, 0xF7});
}
inline mci::MidiMessage Gm2On()
{
    return Bytes({0xF0, 0x7E, 0x7F, 0x09, 0x03, 0xF7});
}
// "Use for rhythm part" of GS part x (0 part 10, 1-9 parts 1-9, 10-15 parts 11-16) on
// port A (block 40) or B (block 50).
inline mci::MidiMessage GsRhythmPart(int x, int map, bool portB = false)
{
    return Roland(0x10, portB ? 0x50 : 0x40, 0x10 | x, 0x15, {map});
}
inline mci::MidiMessage XgPartMode(int part, int mode)
{
    return Yamaha(0x10, 0x08, part, 0x07, {mode});
}
inline mci::MidiMessage GmMasterVolume(int value14)
{
    return Bytes({0xF0, 0x7F, 0x7F, 0x04, 0x01, value14 & 0x7F, value14 >> 7, 0xF7});
}

} // namespace modulesongs
