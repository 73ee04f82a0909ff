#pragma once
// A small Standard MIDI File reader of the tests' own, to check converted files event by
// event. It throws std::runtime_error on anything malformed.

#include <cstdint>
#include <string>
#include <vector>

namespace rcpcv_test {

struct MidiEvent
{
    uint32_t tick = 0;
    // Complete: status byte and data (running status expanded); F0 and its data; or FF,
    // type and data (the length bytes left out).
    std::vector<uint8_t> bytes;
};

struct MidiTrack
{
    std::vector<MidiEvent> events; // without the end of track
    uint32_t endTick = 0;
};

struct MidiFile
{
    unsigned format = 0;
    unsigned division = 0;
    std::vector<MidiTrack> tracks;
};

MidiFile ParseSmf(const std::string &bytes);

struct PlayedNote
{
    uint32_t tick;
    uint8_t channel;
    uint8_t key;
    uint8_t velocity;
    uint32_t length;
    bool operator==(const PlayedNote &other) const;
};

// The notes of a track, paired note-on to note-off, in note-on order.
std::vector<PlayedNote> Notes(const MidiTrack &track);

// The events of a track as "tick: hex bytes" lines, for exact comparisons; meta events
// of the types given in skipMeta are left out.
std::vector<std::string> Lines(const MidiTrack &track, const std::vector<uint8_t> &skipMeta = {});

// The meta events of a type in a track as text.
std::vector<std::string> MetaTexts(const MidiTrack &track, uint8_t type);

// The title the player's probe reads from an SMF: the first FF 03 in the first 500 bytes,
// its length one byte.
std::string SmfProbeTitle(const std::string &smf);

// The title the player's probe reads from an RCP song file: 64 bytes at offset 32, up to
// the first zero byte, trimmed of bytes of 0x20 or less.
std::string RcpProbeTitle(const std::string &song);

} // namespace rcpcv_test
