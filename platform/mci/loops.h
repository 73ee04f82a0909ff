#pragma once
// Game-music loops. A song may mark a loop section that a game plays over and over; with
// loops on, the device plays the song as the game would: the section a set number of
// times, then once more while the song fades out over kLoopFadeNs (see loopfade.h), and
// the song ends there. The device plays this as a song of its own, the unrolled song, so
// that the outputs, the chase, Length and Position need know nothing of loops.
//
// A loop section is marked by
//  - marker meta events (FF 06) "loopStart" and "loopEnd", in any letter case and with or
//    without a space ("Loop Start"): from the first start to the first end after it, or to
//    the song's end when no end follows;
//  - else controller 111 on any channel (the first one): from there to the song's end.

#include "platform/mci/loopfade.h"
#include "platform/mci/song.h"

#include <cstdint>
#include <optional>

namespace mci {

constexpr int kMaxLoops = 99;
// A shorter section is no loop to play (nor to fade out in a reasonable number of passes).
constexpr std::int64_t kMinLoopNs = 100000000;
// The unrolled song holds at most this many events; fewer passes are played when the song
// would need more.
constexpr std::size_t kMaxUnrolledEvents = std::size_t{4} << 20;

struct LoopSection
{
    std::int64_t startTick = 0; // the first tick of the section
    std::int64_t endTick = 0;   // the tick playing jumps back from (> startTick)
};

// The song's loop section; none when it marks none.
std::optional<LoopSection> FindLoopSection(const Song &song);

// The song as the device plays it with its section played `loops` times (at least 1):
//  - the events before the section; then each pass of the section: its events (those of
//    ticks from its start up to, not including, its end), each pass starting where the
//    last one ended; what follows the section is not played;
//  - every pass has the tempo the section starts with, so every pass takes the same time;
//  - at each jump back, a note-off for every note that sounds;
//  - the fade starts where the last pass ends, the section going on meanwhile, and the
//    song ends where it ends (a volume message of 0 on each channel that has notes);
//  - the song's texts (lyrics, markers) repeat with their passes, up to kMaxSongTexts.
// Times stay exact: the unrolled song has one tempo map, as any song.
// The song comes back unchanged when loops is 0 or less, it marks no section, its section
// is shorter than kMinLoopNs, or even one pass would not fit into kMaxUnrolledEvents or
// kMaxSongNs; loops above kMaxLoops count as kMaxLoops.
Song ApplyLoops(Song song, int loops);

// Loops as midimap.ini gives it: a whole number, 0 when empty or not a number, kept within
// 0 to kMaxLoops.
int ParseLoops(const std::string &text);

} // namespace mci
