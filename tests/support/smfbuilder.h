#pragma once
// Small Standard MIDI Files for tests, built byte by byte.

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// A format-0 file at 500 ticks per quarter note and 500000 microseconds per quarter, so
// one tick is one millisecond. title, when not empty, is the first track-name event.
// notes are note-on times in ms (each note lasts 10 ms); the track ends at lengthMs.
std::string MakeSmf(std::uint32_t lengthMs, const std::string &title = std::string(),
                    const std::vector<std::uint32_t> &notes = {});

} // namespace testing_support
