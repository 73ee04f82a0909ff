#pragma once
// Tests on the bytes of text in the two encodings the program meets: Shift-JIS (code page
// 932) and UTF-8.

#include <stddef.h>

namespace base {

// True when c opens a two-byte Shift-JIS character (its second byte may be any of 0x40 to
// 0xFC, the path separator 0x5C among them).
constexpr bool IsShiftJisLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// True when the size bytes at text are well-formed UTF-8: no overlong forms, no
// surrogates, nothing above U+10FFFF, no character cut off at the end.
constexpr bool IsValidUtf8(const char *text, size_t size)
{
    size_t i = 0;
    while (i < size) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t extra = 0;
        unsigned long minimum = 0;
        if ((c & 0xE0) == 0xC0)
            extra = 1, minimum = 0x80;
        else if ((c & 0xF0) == 0xE0)
            extra = 2, minimum = 0x800;
        else if ((c & 0xF8) == 0xF0)
            extra = 3, minimum = 0x10000;
        else
            return false;
        if (i + extra >= size)
            return false;
        unsigned long code = c & (0x3Fu >> extra);
        for (size_t k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (t & 0x3Fu);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

} // namespace base
