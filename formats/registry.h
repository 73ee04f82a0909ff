#pragma once
// The one table of what the player takes in: a row per song kind and per archive kind with
// its extensions, the outside library that serves it and the archive back-end that reads it.
// The open dialog's filter, the song test, the archive test of the intake, the archive
// layer's choice by extension and the start-up library probe are all read from here.

#include "archivertype.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace formats {

// One outside library the player loads at run time, as the start-up probe looks for it.
struct TLibrary
{
    const char *name;         // name passed to the library loader
    const char *alsoRequired; // a second library that must load too, or nullptr
};

// The libraries in the order of their presence flags (see LibraryPresent).
constexpr std::size_t LibraryCount = 7;
extern const std::array<TLibrary, LibraryCount> Libraries;
// Flag 6: the RCP converter, which makes RCP song files count as songs.
constexpr std::size_t RcpConverterFlag = 6;
// A row served by no outside library (the loader module plays Standard MIDI Files).
constexpr int NoLibrary = -1;

using TLibraryFlags = std::array<bool, LibraryCount>;

enum class TFormatKind {
    Song,          // played as it is (after the header check)
    ConvertedSong, // converted into a Standard MIDI File first
    Archive,       // its songs are extracted into the temporary folder
};

struct TFormat
{
    TFormatKind kind;
    // Lower-case extensions with their dot; a name matches in any letter case.
    std::vector<std::string> extensions;
    int library;            // index into Libraries, or NoLibrary
    TArchiverType archiver; // the back-end of an archive; atNone for songs
    // True when the open dialog offers the format and the intake takes it in; false for
    // what only the archive layer recognises (compressed tar variants, self-extractors,
    // which ".exe" stands for: their content decides the back-end).
    bool offered;
};

// Every row, in the order the open dialog's filter lists them: Standard MIDI Files, then
// the rest in the order of their libraries, then what only the archive layer recognises.
const std::vector<TFormat> &Formats();

// The row of an extension (dot included, any letter case); nullptr when none has it.
const TFormat *FormatOfExtension(const std::string &extension);
// The row of a file name's extension; nullptr when none has it.
const TFormat *FormatOfName(const std::string &name);

// True when extension (dot included, any case) names a song the player can play now: a
// Standard MIDI File always, an RCP song file while the converter is present.
bool IsSongExtension(const std::string &extension, const TLibraryFlags &present);
// True when name ends in the extension of an archive the intake takes in (any case).
bool IsArchiveName(const std::string &name);
// The back-end a file name's extension selects: atAutoDetect for ".exe" (look at the
// content), atNone for anything that is no archive.
TArchiverType ArchiverOfName(const std::string &name);

// The masks ("*.mid", ...) of every song kind, whether or not its library is present.
std::vector<std::string> SongMasks();

// The open dialog's filter: "Support Files" with every song and archive whose library is
// present, then "Midi Fles" with the songs alone, e.g.
// "Support Files|*.mid;*.rmi;*.lzh;|Midi Fles|*.mid;*.rmi;".
std::string OpenFilter(const TLibraryFlags &present);

} // namespace formats
