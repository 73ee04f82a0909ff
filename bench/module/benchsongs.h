#pragma once
// The songs the module benchmark plays: GS and XG songs that select voices and kits the
// way 1990s files do (device ID 10H), each with what its module plays on every part it
// sets, and typical GM, GS and XG arrangements for the loudness figures.

#include <string>
#include <vector>

namespace bench {

// What a song asks of one part, and what the module it was written for plays there.
struct ExpectedPart
{
    int port = 0;    // 0 port A, 1 port B
    int channel = 0; // 0-15
    std::string asks;
    bool drum = false;
    int bank = 0; // as a GS/XG-layout SoundFont numbers it: kits in bank 128
    int program = 0;
    std::string module; // what the module plays, in its own words
};

struct ModuleSong
{
    std::string name;
    std::string bytes; // a Standard MIDI File
    std::vector<ExpectedPart> parts;
};

std::vector<ModuleSong> ModuleSongs();

struct BandSong
{
    std::string name;
    std::string bytes;
};

// Eight bars of a ten-part band at 120 bpm (drums, bass, piano, strings, organ, pad,
// guitar, brass, melody and counter-melody) at the volumes and velocities songs of the
// time use, after a GM, GS or XG reset.
std::vector<BandSong> BandSongs();

} // namespace bench
