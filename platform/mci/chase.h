#pragma once
// Chasing: what a song has set up before a point, replayed when it resumes from there.

#include "platform/mci/midimessage.h"
#include "platform/mci/song.h"

#include <vector>

namespace mci {

// True for the system-exclusive messages that reset a sound module: GM System On and
// Off, GM2 System On, GS Reset, GS System Mode Set, XG System On and XG All Parameter Reset.
bool IsResetSysEx(MessageView message);

// The messages that bring an output to the state the song is in just before event
// firstEvent, in the order to send them, as a device list (see PortSelect):
//  1. the output reset: all sound off and reset all controllers on all 16 channels of
//     every port the song uses;
//  2. the song's system-exclusive messages from its last reset message on, in order, each
//     on its port (a reset message also forgets the channel settings made before it);
//  3. per port and channel, each as last set: bank select and program, the other
//     controllers, every RPN and NRPN value (selected, then data entry), then the last RPN
//     or NRPN selection again, pitch bend and channel pressure.
// Tempo needs no message: every time comes from the tempo map.
std::vector<MidiMessage> ChaseMessages(const Song &song, std::size_t firstEvent);

} // namespace mci
