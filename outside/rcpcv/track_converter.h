#pragma once
// Turns one track of the song file into MIDI events: notes with their gate times and ties,
// channel messages, exclusives, comments, and the tempo and key changes that belong to
// the conductor.

#include "outside/rcpcv/budget.h"
#include "outside/rcpcv/song.h"
#include "outside/rcpcv/song_file.h"
#include "outside/rcpcv/tempo_map.h"

#include <array>
#include <cstdint>
#include <vector>

namespace rcpcv {

struct TrackOutput
{
    // Channel messages and exclusives for port A (0) and port B (1), sorted by tick, then
    // seq; a note-on dropped on the way is left with no bytes.
    std::array<std::vector<SmfEvent>, 2> ports;
    // The note-offs of each port, sorted by tick; they go before other events of their tick.
    std::array<std::vector<SmfEvent>, 2> noteOffs;
    // Bit 0: port A carries messages; bit 1: port B does.
    unsigned usedPorts = 0;
    // The port the track starts on (A when it starts without output).
    int homePort = 0;
    // Comments and other texts of the track, sorted by tick, then seq.
    std::vector<SmfEvent> texts;
    // Changes that go to the conductor track.
    std::vector<TempoRequest> tempo;
    std::vector<SmfEvent> keySignatures;
    // Where the track ends: after its last event and after every note has ended.
    uint32_t endTick = 0;
};

// Converts the track; offset is added to every tick (room for the setup before the music).
// Events come from the budget; once it is spent the track ends where it stands, with
// every sounding note released.
TrackOutput ConvertTrack(const SongFile &song, const TrackInfo &track, int64_t offset,
                         Budget &budget);

// The key signature meta event for a key byte (bits 0-2 accidentals, bit 3 flats, bit 4
// minor).
std::string KeySignatureEvent(uint8_t key);

} // namespace rcpcv
