#pragma once
// Between the program's byte strings and the toolkit's Unicode text.

#include <QString>
#include <string>

namespace platform {

// Text for display: valid UTF-8 is read as UTF-8, anything else as Shift-JIS (CP932),
// so titles and names from old Japanese files show as written, never as mojibake.
QString DecodeText(const std::string &bytes);

// Text in the process code page (UTF-8, or CP932 when that is the code page).
// Characters CP932 cannot hold become "?".
std::string EncodeText(const QString &text);

// The bytes of a file name the toolkit handed over, as the file system holds them.
std::string EncodeFileName(const QString &path);

bool IsValidUtf8(const std::string &bytes);

} // namespace platform
