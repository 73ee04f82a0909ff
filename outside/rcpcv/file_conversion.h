#pragma once
// Conversion from file to file, as the library entries and the command-line tool do it.

#include "outside/rcpcv/song.h"

#include <string>

namespace rcpcv {

enum class FileStatus {
    kOk,
    kCannotRead, // missing, unreadable, not a regular file, or larger than any song
    kNotASong,   // no RCP or G36 magic
    kDamaged,    // the magic is there but the header is cut short or unusable
};

// Reads and converts the song file at path; the control files it names are looked up in
// the same folder. On success out holds the song; otherwise it is untouched.
FileStatus ConvertFile(const std::string &path, Song &out);

// Writes the song as a Standard MIDI File at path, atomically (see WriteFileAtomically).
bool SaveSmf(const Song &song, const std::string &path);

} // namespace rcpcv
