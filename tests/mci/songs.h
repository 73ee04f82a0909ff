#pragma once
// Songs for the sequencer tests, built with known event times.

#include "platform/mci/smfwriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace songs {

inline mci::MidiMessage NoteOn(int channel, int key, int velocity = 100)
{
    return {static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(key),
            static_cast<std::uint8_t>(velocity)};
}

inline mci::MidiMessage NoteOffMsg(int channel, int key)
{
    return {static_cast<std::uint8_t>(0x80 | channel), static_cast<std::uint8_t>(key), 64};
}

inline mci::MidiMessage Program(int channel, int program)
{
    return {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(program)};
}

inline mci::MidiMessage Control(int channel, int controller, int value)
{
    return mci::ControlChange(channel, controller, value);
}

// 480 ticks per quarter: a quarter at 120 bpm (500000 us), then at tick 1920 a tempo of
// 250000 us (240 bpm); notes on channel 0 every quarter from tick 0 to 3360, each 240
// ticks long; End of Track at tick 3840. Length: 2 s + 1920 ticks at 0.25 s = 3 s.
inline std::string TempoChangeSong()
{
    mci::SmfWriter w(480, 0);
    w.Tempo(0, 500000).Tempo(1920, 250000);
    for (int tick = 0; tick <= 3360; tick += 480) {
        w.Event(tick, NoteOn(0, 60 + tick / 480));
        w.Event(tick + 240, NoteOffMsg(0, 60 + tick / 480));
    }
    w.EndAt(3840);
    return w.Bytes();
}

} // namespace songs
