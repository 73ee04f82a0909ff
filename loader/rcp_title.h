#pragma once
// The title of an RCP song file: its 64-byte title field at offset 32.

#include "io_status.h"
#include "short_string.h"

namespace loader {

// The field up to its first zero byte (bytes past the end of a short file count as
// zero), without leading and trailing bytes <= 0x20. Possibly empty; no fallback text.
IoStatus ReadRcpTitle(const char *path, ShortText &title);

} // namespace loader
