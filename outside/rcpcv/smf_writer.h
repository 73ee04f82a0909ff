#pragma once
// Writes a converted song as the bytes of a format-1 Standard MIDI File.

#include "outside/rcpcv/song.h"

#include <string>

namespace rcpcv {

// The file: an MThd chunk (format 1, the song's track count and division), then one MTrk
// chunk per track with its events in order, channel messages in running status, and an
// end-of-track event at the track's end tick.
std::string WriteSmf(const Song &song);

} // namespace rcpcv
