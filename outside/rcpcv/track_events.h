#pragma once
// The events of one track, decoded on demand from the file bytes. RCP events are 4 bytes
// (command, step, p1, p2), G36 events 6 bytes (command, p2, step u16, p1 u16).

#include "outside/rcpcv/byte_view.h"
#include "outside/rcpcv/song_file.h"

#include <optional>
#include <string>

namespace rcpcv {

// The commands above the note range (0x00-0x7F).
namespace command {
constexpr uint8_t kUserExclusive0 = 0x90; // to 0x97
constexpr uint8_t kUserExclusive7 = 0x97;
constexpr uint8_t kTrackExclusive = 0x98;
constexpr uint8_t kExternal = 0x99;
constexpr uint8_t kYamahaFirst = 0xC0; // to 0xCF: Yamaha parameter shortcuts
constexpr uint8_t kYamahaLast = 0xCF;
constexpr uint8_t kYamahaBase = 0xD0;
constexpr uint8_t kYamahaDevice = 0xD1;
constexpr uint8_t kYamahaParameter = 0xD2;
constexpr uint8_t kXgParameter = 0xD3;
constexpr uint8_t kMks7 = 0xDC;
constexpr uint8_t kRolandBase = 0xDD;
constexpr uint8_t kRolandParameter = 0xDE;
constexpr uint8_t kRolandDevice = 0xDF;
constexpr uint8_t kBankLsbProgram = 0xE1;
constexpr uint8_t kBankMsbProgram = 0xE2;
constexpr uint8_t kKeyScan = 0xE5;
constexpr uint8_t kChannel = 0xE6;
constexpr uint8_t kTempo = 0xE7;
constexpr uint8_t kChannelPressure = 0xEA;
constexpr uint8_t kControlChange = 0xEB;
constexpr uint8_t kProgram = 0xEC;
constexpr uint8_t kKeyPressure = 0xED;
constexpr uint8_t kPitchBend = 0xEE;
constexpr uint8_t kKeySignature = 0xF5; // from here on the step does not advance time
constexpr uint8_t kComment = 0xF6;
constexpr uint8_t kContinuation = 0xF7;
constexpr uint8_t kLoopEnd = 0xF8;
constexpr uint8_t kLoopStart = 0xF9;
constexpr uint8_t kSameMeasure = 0xFC;
constexpr uint8_t kMeasureEnd = 0xFD;
constexpr uint8_t kTrackEnd = 0xFE;
} // namespace command

struct TrackEvent
{
    uint8_t command = 0;
    // Ticks to the next event (commands below kKeySignature); a value for some others.
    uint16_t step = 0;
    // Gate time of a note, or the first parameter.
    uint16_t p1 = 0;
    // Velocity of a note, or the second parameter.
    uint8_t p2 = 0;
};

class EventList
{
public:
    EventList(ByteView events, Variant variant);

    size_t Count() const { return count_; }
    Variant GetVariant() const { return variant_; }

    // The event at index; index must be below Count().
    TrackEvent At(size_t index) const;

    // The text or data a long command (comment, track exclusive, external command) carries
    // in the continuation events that follow it, appended to out: two bytes (p1, p2) per
    // RCP event, five per G36 event. When withOwn is set, the command's own parameter
    // bytes come first.
    void AppendLongData(size_t index, bool withOwn, std::string &out) const;

    // The first event of the bar a same-measure event refers to; nothing when the event at
    // index is no same-measure event or points outside the track.
    std::optional<size_t> SameMeasureTarget(size_t index) const;

private:
    void AppendParameterBytes(size_t index, std::string &out) const;

    ByteView bytes_;
    Variant variant_;
    size_t size_;
    size_t count_;
};

} // namespace rcpcv
