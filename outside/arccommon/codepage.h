#pragma once
// Text helpers of the archiver libraries, free of Qt so that the libraries stay outside
// products: the process code page the program publishes in SONOLUX_CODEPAGE, character
// boundaries under it, and ASCII-only letter-case folding.

#include "base/textbytes.h"

#include <cstddef>
#include <string>

namespace arc {

enum class TextEncoding { Utf8, ShiftJis };

// ShiftJis when SONOLUX_CODEPAGE is "932", else Utf8. Read on every call, so a program
// that changes its code page is followed at once.
TextEncoding ProcessEncoding();

// How a member name's bytes are scanned for separators and characters: Shift-JIS under
// code page 932; under UTF-8 too when the name is not valid UTF-8 (old Japanese archives
// store Shift-JIS names, whose second bytes may have the value of "\").
TextEncoding NameEncoding(const std::string &name);

bool IsValidUtf8(const std::string &s);
using base::IsShiftJisLead;

// Bytes of the character starting at s[i]: 2 for a Shift-JIS lead byte with a byte after
// it, else 1. UTF-8 characters are taken byte by byte: no ASCII byte occurs inside them.
std::size_t CharLength(const std::string &s, std::size_t i, TextEncoding encoding);

// True when the last character of s is "\" or "/" (never the second byte of a double-byte
// character).
bool EndsWithFolderMark(const std::string &s, TextEncoding encoding);

// s cut to at most maxBytes bytes without splitting a character.
std::string TruncateText(const std::string &s, std::size_t maxBytes, TextEncoding encoding);

inline char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace arc
