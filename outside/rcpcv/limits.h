#pragma once
// Bounds that keep a damaged or hostile song file from taking unbounded time or memory.
// Real songs stay far below every one of them.

#include <cstddef>
#include <cstdint>

namespace rcpcv::limits {

// Largest song file read (36 tracks of the longest possible RCP track fit easily).
constexpr size_t kMaxSongFileBytes = size_t{16} << 20;
// Largest control file read; a CM6 dump is 0x5849 bytes, a GSD 0xA71.
constexpr size_t kMaxControlFileBytes = size_t{64} << 10;
// Tracks read from one song.
constexpr unsigned kMaxTracks = 36;
// Loops nested deeper than this are not repeated.
constexpr unsigned kMaxLoopDepth = 8;
// Passes through a loop whose count is 0 ("endless").
constexpr unsigned kEndlessLoopPasses = 2;
// Links followed in one chain of same-measure references.
constexpr unsigned kMaxSameMeasureHops = 64;
// Events one track may execute, repeats included; the track ends there.
constexpr uint64_t kMaxStepsPerTrack = 1'000'000;
// Events and event bytes the whole converted song may hold.
constexpr size_t kMaxSongEvents = 1'000'000;
constexpr size_t kMaxSongEventBytes = size_t{32} << 20;
// A track stops advancing past this tick; ticks written never exceed kMaxTick.
constexpr int64_t kMaxTrackTicks = int64_t{1} << 27;
constexpr int64_t kMaxTick = 0x0FFFFFFF;

} // namespace rcpcv::limits
