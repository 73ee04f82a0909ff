#include "platform/mci/silence.h"

namespace mci {

std::vector<MidiMessage> NoteOffMessages(const NoteTracker &sounding)
{
    std::vector<MidiMessage> out;
    sounding.ForEach([&](int channel, int key, int count) {
        for (int i = 0; i < count; ++i)
            out.push_back(NoteOff(channel, key));
    });
    return out;
}

std::vector<MidiMessage> SilenceMessages(const NoteTracker &sounding)
{
    std::vector<MidiMessage> out = NoteOffMessages(sounding);
    for (int channel = 0; channel < 16; ++channel) {
        out.push_back(ControlChange(channel, cc::AllNotesOff, 0));
        out.push_back(ControlChange(channel, cc::AllSoundOff, 0));
    }
    return out;
}

} // namespace mci
