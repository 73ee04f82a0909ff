#pragma once
// Reading a listing's member record.

#include "outside/include/archiver_api.h"

#include <cstring>
#include <string>

namespace archives {

// The member's path name: the text at offset 26 up to its NUL, at most 513 bytes even when
// the library left it unterminated.
inline std::string MemberFileName(const INDIVIDUALINFO &info)
{
    const char *name = info.szFileName;
    return std::string(name, ::strnlen(name, sizeof info.szFileName));
}

} // namespace archives
