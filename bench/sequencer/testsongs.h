#pragma once
// The songs the benchmark measures with: short percussive notes (the GM side stick) at
// known times that fall between FluidSynth's blocks and between milliseconds.

#include "platform/mci/song.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct TestSong
{
    std::string name;
    std::string bytes;               // the Standard MIDI File
    mci::Song song;                  // as the device reads it
    std::vector<std::int64_t> ticks; // the measured notes (not the warm-up note at tick 0)
    int tempoChanges = 0;
};

// Two minutes at a steady 130 beats per minute.
TestSong SteadySong();
// Ten minutes with 200 tempo changes between 86 and 200 beats per minute.
TestSong TempoChangeSong();
// A warm-up note, then one note at tick 1024, which is sample 47040 at 44.1 kHz: the
// start of block 735. The sound crosses the onset threshold a fixed time into a note;
// this note shows how far.
TestSong CalibrationSong();
constexpr std::int64_t kCalibrationSample = 47040;
// Sixteen channels of dense notes and controllers (about 100 000 events), for open times.
TestSong DenseSong();
// Four channels of notes, all of it a loop section (controller 111 at the start), for the
// open times of a looped song.
TestSong GameSong();

} // namespace bench
