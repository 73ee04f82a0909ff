#pragma once
// Converts song bytes with the library's code and reads the result back.

#include "smf_reader.h"

#include <string>

namespace rcpcv_test {

// The SMF bytes of the converted song; fails the test when the song does not convert.
std::string ConvertToSmf(const std::string &song, const std::string &controlFolder = "");

MidiFile ConvertToMidi(const std::string &song, const std::string &controlFolder = "");

// The one music track of a converted song (the track after the conductor).
MidiTrack MusicTrack(const std::string &song);

} // namespace rcpcv_test
