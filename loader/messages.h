#pragma once
// The module's messages, in Japanese, in the process code page (UTF-8 or Shift-JIS).
// Each is stored into the caller's 256-byte buffer as a short string; a message longer
// than 255 bytes is cut between characters.

#include "code_page.h"
#include "short_string.h"

namespace loader {

// "ファイル %s は開けません" with %s the file name.
void StoreOpenErrorMessage(unsigned char *buffer, const ShortText &fileName, CodePage codePage);

// The message of an I/O code: the code's own text, or "I/O エラー (%d)".
void StoreIoErrorMessage(unsigned char *buffer, int code, CodePage codePage);

} // namespace loader
