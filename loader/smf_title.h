#pragma once
// The title of a Standard MIDI File: the text of the first FF 03 (sequence/track name)
// byte pair found in the file's first 500 bytes.

#include "io_status.h"
#include "short_string.h"

namespace loader {

// The search is a plain byte search over the window: chunk and event structure are not
// looked at, so the first FF 03 pair wins wherever it stands. The byte after the pair is
// the text length (one unsigned byte, 0 to 255); a text running past the window is read
// on from the file. No pair, or a text without characters: "Not found Title!".
IoStatus ReadSmfTitle(const char *path, ShortText &title);

} // namespace loader
