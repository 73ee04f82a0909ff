#pragma once
// The setup that goes before the music when a song names control files: the files found
// beside the song, turned into messages and spaced out in time so that a real module
// (MIDI at 31,250 baud, time to act on each message) has taken in every one of them
// before the first note.

#include "outside/rcpcv/control_files.h"
#include "outside/rcpcv/song_file.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rcpcv {

struct TimedSetupMessage
{
    SetupMessage message;
    uint32_t tick = 0;
    // The control file it comes from, as found.
    std::string source;
};

struct Setup
{
    std::vector<TimedSetupMessage> messages;
    // Ticks from the start of the song to the first tick of the music: whole measures,
    // none when there is no setup.
    uint32_t leadIn = 0;
};

// Looks up each control file the song names in folder (any letter case, with the kind's
// extension added to a name without one), and times the messages of those found at the
// header tempo. Files that are missing or not control files are left out.
Setup BuildSetup(const SongFile &song, const std::string &folder);

// Spaces the messages: each starts when the one before has been sent and has settled.
// measureTicks is the length of a measure; the lead-in covers all messages, at least one
// measure.
Setup TimeSetup(std::vector<TimedSetupMessage> messages, uint32_t usecPerQuarter, unsigned timebase,
                uint32_t measureTicks);

} // namespace rcpcv
