#pragma once
// The messages that silence an output, as a device list (see PortSelect).

#include "platform/mci/midimessage.h"
#include "platform/mci/notetracker.h"

#include <vector>

namespace mci {

// Pause, stop, seek and close: a note-off for every note that sounds (one per note-on,
// for modules that stack them), then all notes off and all sound off on each of the 16
// channels of port A and of every other port that had notes, since some modules ignore
// one or the other.
std::vector<MidiMessage> SilenceMessages(const NoteTracker &sounding);

// The natural end of a song: note-offs for the notes it left on, and nothing more, so
// that the last notes keep their release and reverb.
std::vector<MidiMessage> NoteOffMessages(const NoteTracker &sounding);

} // namespace mci
