#pragma once
// The process code page as this module sees it, and character boundaries under it.

#include <stddef.h>

namespace loader {

enum class CodePage { Utf8, ShiftJis };

// The code page published by the program in SONOLUX_CODEPAGE ("932": Shift-JIS, else UTF-8).
// Read at every call: the module keeps no state.
CodePage ProcessCodePage();

// True when c opens a double-byte character (only Shift-JIS has them).
bool IsLeadByte(unsigned char c, CodePage codePage);

// Number of bytes of the character at text[i]: 2 for a lead byte with a byte after it,
// else 1.
size_t CharacterLength(const unsigned char *text, size_t length, size_t i, CodePage codePage);

// The longest prefix of text, at most maxBytes long, that ends between two characters.
size_t CutBetweenCharacters(const unsigned char *text, size_t length, size_t maxBytes,
                            CodePage codePage);

} // namespace loader
