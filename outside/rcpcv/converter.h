#pragma once
// Converts a Recomposer song file (RCP, R36, G36) into a format-1 Standard MIDI File song
// at the song's time base:
//  - track 0, the conductor: the title as its first event (a track name, the title field
//    as the title probe reads it), the memo lines as texts, the time signature, the key
//    signature and the tempo of the header, then every tempo and key change;
//  - when the song names control files found beside it: a setup track per port that
//    resets the module and loads them, the music starting after that in whole measures;
//  - one track per unmuted track that has anything to play, two when it plays on both
//    ports; each named after its track, with a port meta event (FF 21) when the song
//    uses both ports.
// The variant is decided by the magic at the start of the file, never by a file name.

#include "outside/rcpcv/byte_view.h"
#include "outside/rcpcv/song.h"

#include <string>

namespace rcpcv {

struct ConvertOptions
{
    // Folder searched for the control files the song names; empty: none are used.
    std::string controlFolder;
};

enum class ConvertStatus {
    kOk,       // out holds the song (possibly without any music: an empty song)
    kNotASong, // no RCP or G36 magic; out is untouched
    kDamaged,  // the header is cut short or unusable; out is untouched
};

// The conversion is bounded whatever the input (see limits.h). Throws only std::bad_alloc.
ConvertStatus ConvertSong(ByteView file, const ConvertOptions &options, Song &out);

} // namespace rcpcv
