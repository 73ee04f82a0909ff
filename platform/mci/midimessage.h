#pragma once
// MIDI messages as the device sends them: a channel message (a status byte 0x80-0xEF and
// its one or two data bytes) or a complete system-exclusive message from F0 to F7, each for
// one of the device's ports (A, B, C, D: the ports of a song's FF 21 port prefix).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mci {

using MidiMessage = std::vector<std::uint8_t>;

// The ports a song can address; a port prefix beyond them wraps around.
constexpr int kPorts = 4;

// A message's bytes without ownership; valid as long as what it points into.
struct MessageView
{
    const std::uint8_t *data = nullptr;
    std::size_t size = 0;
    int port = 0; // 0 port A ... kPorts - 1

    std::uint8_t Status() const { return size > 0 ? data[0] : 0; }
    bool IsSysEx() const { return Status() == 0xF0; }
    bool IsChannel() const { return Status() >= 0x80 && Status() < 0xF0; }
    int Channel() const { return Status() & 0x0F; }
    int Kind() const { return Status() & 0xF0; } // 0x80 note off ... 0xE0 pitch bend
};

inline MessageView View(const MidiMessage &message, int port = 0)
{
    return MessageView{message.data(), message.size(), port};
}

// The device's own message lists (output reset, chase, silence) name ports in-band, as a
// multi-port MIDI interface does: a port select {F5, p} sends the messages after it to port
// p. A list starts on port A, so a list for port A alone holds no port select.
constexpr std::uint8_t kPortSelect = 0xF5;

inline MidiMessage PortSelect(int port)
{
    return {kPortSelect, static_cast<std::uint8_t>(port % kPorts)};
}
inline bool IsPortSelect(MessageView m)
{
    return m.size == 2 && m.data[0] == kPortSelect;
}

// Calls f(view) for each message of a device list, with its port; port selects are not
// passed on.
template<class F>
void ForEachOnPort(const std::vector<MidiMessage> &messages, F f)
{
    int port = 0;
    for (const MidiMessage &message : messages) {
        const MessageView view = View(message, port);
        if (IsPortSelect(view))
            port = view.data[1] % kPorts;
        else
            f(view);
    }
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
constexpr int PortamentoTime = 5;
constexpr int DataEntry = 6;
constexpr int Volume = 7;
constexpr int BankSelectLsb = 32;
constexpr int PortamentoTimeLsb = 37;
constexpr int DataEntryLsb = 38;
constexpr int Portamento = 65;
constexpr int PortamentoControl = 84;
constexpr int ReverbSend = 91;
constexpr int ChorusSend = 93;
constexpr int DataIncrement = 96;
constexpr int DataDecrement = 97;
constexpr int LoopPoint = 111; // a game's loop mark: loop back to here at the end
constexpr int NrpnLsb = 98;
constexpr int NrpnMsb = 99;
constexpr int RpnLsb = 100;
constexpr int RpnMsb = 101;
constexpr int AllSoundOff = 120;
constexpr int ResetAllControllers = 121;
constexpr int AllNotesOff = 123;
} // namespace cc

} // namespace mci
