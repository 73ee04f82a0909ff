#include "platform/mci/silence.h"

namespace mci {

namespace {

// Adds a port select to out when port is not the one its messages go to now.
void SelectPort(std::vector<MidiMessage> &out, int &current, int port)
{
    if (port != current)
        out.push_back(PortSelect(port));
    current = port;
}

std::vector<MidiMessage> NoteOffs(const NoteTracker &sounding, int &port)
{
    std::vector<MidiMessage> out;
    sounding.ForEach([&](int notePort, int channel, int key, int count) {
        SelectPort(out, port, notePort);
        for (int i = 0; i < count; ++i)
            out.push_back(NoteOff(channel, key));
    });
    return out;
}

} // namespace

std::vector<MidiMessage> NoteOffMessages(const NoteTracker &sounding)
{
    int port = 0;
    return NoteOffs(sounding, port);
}

std::vector<MidiMessage> SilenceMessages(const NoteTracker &sounding)
{
    int current = 0;
    std::vector<MidiMessage> out = NoteOffs(sounding, current);
    for (int port = 0; port < kPorts; ++port) {
        if ((sounding.PortsUsed() & (1u << port)) == 0)
            continue;
        SelectPort(out, current, port);
        for (int channel = 0; channel < 16; ++channel) {
            out.push_back(ControlChange(channel, cc::AllNotesOff, 0));
            out.push_back(ControlChange(channel, cc::AllSoundOff, 0));
        }
    }
    return out;
}

} // namespace mci
