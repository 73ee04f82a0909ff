#pragma once
// ComLoad's work: the title of a song file, read by the reader its extension selects.

#include "code_page.h"
#include "io_status.h"
#include "short_string.h"

namespace loader {

// title receives the title (empty for a name that selects no reader, whose file is then
// not opened). A name with a zero byte in it fails with SONOLUX_IO_INVALID_NAME.
IoStatus ProbeTitle(const ShortText &fileName, CodePage codePage, ShortText &title);

} // namespace loader
