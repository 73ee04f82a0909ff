#pragma once
// Which title reader a file name selects: by its extension alone, never by content.

#include "code_page.h"
#include "short_string.h"

namespace loader {

enum class TitleReader { None, Smf, Rcp };

// The extension is the text from the last "." standing after the last "/", "\" or ":"
// (a trail byte of a double-byte character is no separator) to the end; it is compared
// without regard to ASCII letter case: ".mid" selects Smf; ".rcp", ".r36", ".g36" Rcp;
// anything else (".rmi" too) None.
TitleReader ChooseTitleReader(const ShortText &fileName, CodePage codePage);

} // namespace loader
