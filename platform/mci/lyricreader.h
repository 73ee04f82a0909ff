#pragma once
// Reading a song's lyrics out of its text events.
//
// Where the lyrics are:
//  - in a Soft Karaoke song (one with a text event "@KMIDI KARAOKE FILE", or with the
//    "@T" or "@L" tags and lines marked as below): the text events (FF 01) of its lyric
//    track, less the "@" tags;
//  - else in the lyric events (FF 05) of its lyric track.
// The lyric track is the track with the most such events (the first of those with as many).
//
// Each event is decoded as titles are (valid UTF-8 as UTF-8, anything else as CP932) and
// its characters read as follows:
//  - Soft Karaoke: "/" starts a new line, "\" a new paragraph;
//  - lyric events: "/" starts a new line and "<" a new page (a paragraph), "^" is a blank
//    shown within the line and ">" a tab (shown as a blank);
//  - in both, a carriage return or a line feed (or the two together) ends a line;
//  - other control characters are dropped.

#include "platform/mci/lyrics.h"
#include "platform/mci/song.h"

namespace mci {

SongLyrics ReadLyrics(const Song &song);

} // namespace mci
