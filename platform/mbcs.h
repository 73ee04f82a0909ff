#pragma once
// The process code page and multibyte-aware text helpers.
//
// Every file name, title and message is a byte string in the process code page:
// UTF-8 (65001) by default, or Shift-JIS (932). The setting is published in the
// environment variable SONOLUX_CODEPAGE so that libraries loaded at run time see
// the same code page as the program, as every module of a process does.
// Letter-case folding touches the ASCII letters A to Z only.

#include <string>

namespace platform {

constexpr int cpUtf8 = 65001;
constexpr int cpShiftJis = 932;

// The current process code page (65001 or 932).
int CodePage();
// Selects the process code page; throws std::invalid_argument for anything but 65001 or 932.
void SetCodePage(int codePage);

// True when c opens a double-byte character under the current code page (only 932 has them).
bool IsLeadByte(unsigned char c);
// Number of bytes of the character starting at s[i] (1 or 2; 1 at the end of s).
std::size_t CharLength(const std::string &s, std::size_t i);

// Position of the last byte of s that is one of delimiters and stands as a character
// of its own (never the second byte of a double-byte character); npos when none.
std::string::size_type LastDelimiter(const std::string &delimiters, const std::string &s);
// Cuts s to at most maxBytes bytes without splitting a double-byte character.
std::string TruncateText(const std::string &s, std::size_t maxBytes);

// ASCII-only case folding; all other bytes stay as they are.
std::string AsciiLowerCase(std::string s);
std::string AsciiUpperCase(std::string s);
bool SameTextAscii(const std::string &a, const std::string &b);

// Wildcard match of a file name against a mask with "*" and "?", ASCII letters compared
// without regard to case, "?" standing for one whole character of the code page.
// "*.*" matches every name, also one without a dot.
bool MatchesMask(const std::string &name, const std::string &mask);

} // namespace platform
