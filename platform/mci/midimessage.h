#pragma once
// MIDI messages as the device sends them: a channel message (a status byte 0x80-0xEF and
// its one or two data bytes) or a complete system-exclusive message from F0 to F7.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mci {

using MidiMessage = std::vector<std::uint8_t>;

// A message's bytes without ownership; valid as long as what it points into.
struct MessageView
{
    const std::uint8_t *data = nullptr;
    std::size_t size = 0;

    std::uint8_t Status() const { return size > 0 ? data[0] : 0; }
    bool IsSysEx() const { return Status() == 0xF0; }
    bool IsChannel() const { return Status() >= 0x80 && Status() < 0xF0; }
    int Channel() const { return Status() & 0x0F; }
    int Kind() const { return Status() & 0xF0; } // 0x80 note off ... 0xE0 pitch bend
};

inline MessageView View(const MidiMessage &message)
{
    return MessageView{message.data(), message.size()};
}

// Data bytes that follow a channel status byte: 1 for program change and channel
// pressure, 2 for the others.
constexpr int ChannelDataLength(std::uint8_t status)
{
    const int kind = status & 0xF0;
    return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

// True for a note-on with a velocity above 0 (a note-on with velocity 0 is a note-off).
inline bool IsNoteOn(MessageView m)
{
    return m.Kind() == 0x90 && m.size >= 3 && m.data[2] > 0;
}
inline bool IsNoteOff(MessageView m)
{
    return m.size >= 3 && (m.Kind() == 0x80 || (m.Kind() == 0x90 && m.data[2] == 0));
}

inline MidiMessage ControlChange(int channel, int controller, int value)
{
    return {static_cast<std::uint8_t>(0xB0 | (channel & 0x0F)),
            static_cast<std::uint8_t>(controller & 0x7F), static_cast<std::uint8_t>(value & 0x7F)};
}
inline MidiMessage NoteOff(int channel, int key)
{
    return {static_cast<std::uint8_t>(0x80 | (channel & 0x0F)),
            static_cast<std::uint8_t>(key & 0x7F), 0};
}

// Controller numbers the device itself sends or treats specially.
namespace cc {
constexpr int BankSelect = 0;
constexpr int DataEntry = 6;
constexpr int BankSelectLsb = 32;
constexpr int DataEntryLsb = 38;
constexpr int DataIncrement = 96;
constexpr int DataDecrement = 97;
constexpr int NrpnLsb = 98;
constexpr int NrpnMsb = 99;
constexpr int RpnLsb = 100;
constexpr int RpnMsb = 101;
constexpr int AllSoundOff = 120;
constexpr int ResetAllControllers = 121;
constexpr int AllNotesOff = 123;
} // namespace cc

} // namespace mci
