#pragma once
// MacCheck's work: unwrapping MIDI files that carry a foreign header ahead of MThd.

#include "io_status.h"
#include "short_string.h"

namespace loader {

// A source whose first byte is not zero is played as it is: playName := source, nothing
// is written. Otherwise everything from the first bytes 4D 54 at or after the second
// byte to the end is copied into folder + "/TEMP.MID" (an empty file when there is no
// such pair) and playName := that name. playName is set only on success.
// Fails with SONOLUX_IO_READ_PAST_END for an empty source, SONOLUX_IO_NAME_TOO_LONG when
// the work name would not fit a short string, SONOLUX_IO_INVALID_NAME for an empty folder
// or a name with a zero byte, and with the system's code for failed file operations.
IoStatus CheckForeignHeader(const ShortText &source, const ShortText &folder, ShortText &playName);

} // namespace loader
