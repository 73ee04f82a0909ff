#pragma once
// The song reader: Standard MIDI Files (formats 0, 1 and 2) and RIFF RMID files, parsed
// from bytes in memory into a Song. It reads no file and touches no output, so it can be
// driven with any bytes at all: it never crashes, and its time and memory are bounded by
// the size of the input.
//
// Strict (SongFormatError):
//  - no "MThd" at the start (nor a RIFF RMID with a "data" chunk holding one);
//  - a header shorter than 6 bytes, a format above 2, a time division of 0 or an SMPTE
//    rate other than 24, 25, 29.97 or 30 frames per second;
//  - a header that declares tracks when the file holds no track at all;
//  - more than kMaxSongBytes, more than kMaxSongEvents events, or a song longer than
//    kMaxSongNs.
// Tolerant, as widely used players are:
//  - header bytes beyond the six known ones, unknown chunks and bytes after the last
//    track are skipped; fewer tracks than declared are played as they are;
//  - where a chunk should start but no chunk name stands (a wrong length before it), the
//    reader goes on at the next "MTrk"; a header length too large is taken as 6 when a
//    track follows the six bytes directly;
//  - a track that claims more bytes than the file has, ends inside an event, lacks its
//    End of Track or turns corrupt (a data byte without a status, a length that does not
//    fit) ends there, keeping the events read so far;
//  - a channel message takes as many data bytes as its status needs, as the Windows
//    sequencer did, even ones of 80H or more, whose value is then taken as 7FH;
//  - running status continues across meta events and system-exclusive messages;
//  - system common and real-time bytes (F1-FE) inside a track are skipped;
//  - a tempo of 0 is ignored.
// How events become messages:
//  - a system-exclusive message divided into an F0 packet and F7 continuation packets is
//    joined into one message at the time of its first packet; one that never ends is
//    dropped; several messages in one packet are split;
//  - an F7 escape packet is read as MIDI bytes: the complete channel and system-exclusive
//    messages in it are played, anything else is skipped;
//  - the port prefix (FF 21) puts the track's events after it on that port (A is 0; a
//    port beyond the device's kPorts wraps around);
//  - meta events other than tempo, port prefix and End of Track carry nothing to play;
//    text, lyric and marker events are kept in Song::texts for the lyrics and loops.
// Formats 0 and 1 play all tracks together (a format 0 file with several tracks too);
// format 2 plays its tracks one after another, each starting at 120 beats per minute
// unless it sets its own tempo.

#include "platform/mci/song.h"

#include <cstddef>
#include <cstdint>

namespace mci {

constexpr std::size_t kMaxSongBytes = std::size_t{32} << 20;
constexpr std::size_t kMaxSongEvents = std::size_t{8} << 20;
constexpr std::int64_t kMaxSongNs = std::int64_t{1} << 62; // about 146 years

// Parses a song; throws SongFormatError saying what is wrong.
Song ParseSong(const std::uint8_t *data, std::size_t size);

} // namespace mci
