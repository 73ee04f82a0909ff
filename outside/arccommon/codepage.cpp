#include "codepage.h"

#include <cstdlib>
#include <cstring>

namespace arc {

TextEncoding ProcessEncoding()
{
    const char *value = std::getenv("SONOLUX_CODEPAGE");
    return (value != nullptr && std::strcmp(value, "932") == 0) ? TextEncoding::ShiftJis
                                                                : TextEncoding::Utf8;
}

TextEncoding NameEncoding(const std::string &name)
{
    if (ProcessEncoding() == TextEncoding::ShiftJis || !IsValidUtf8(name))
        return TextEncoding::ShiftJis;
    return TextEncoding::Utf8;
}

bool IsValidUtf8(const std::string &s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t follow = 0;
        unsigned long min = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            follow = 1;
            min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            follow = 2;
            min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            follow = 3;
            min = 0x10000;
        } else {
            return false;
        }
        if (i + follow >= s.size())
            return false;
        unsigned long code = c & (0x3F >> follow);
        for (std::size_t k = 1; k <= follow; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (t & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += follow + 1;
    }
    return true;
}

bool IsShiftJisLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

std::size_t CharLength(const std::string &s, std::size_t i, TextEncoding encoding)
{
    if (encoding == TextEncoding::ShiftJis && i + 1 < s.size() &&
        IsShiftJisLead(static_cast<unsigned char>(s[i])))
        return 2;
    return 1;
}

bool EndsWithFolderMark(const std::string &s, TextEncoding encoding)
{
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i, encoding))
        last = i;
    if (last == std::string::npos || CharLength(s, last, encoding) != 1)
        return false;
    return s[last] == '\\' || s[last] == '/';
}

std::string TruncateText(const std::string &s, std::size_t maxBytes, TextEncoding encoding)
{
    if (s.size() <= maxBytes)
        return s;
    std::size_t end = 0;
    if (encoding == TextEncoding::ShiftJis) {
        while (end < s.size() && end + CharLength(s, end, encoding) <= maxBytes)
            end += CharLength(s, end, encoding);
    } else {
        end = maxBytes;
        while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80)
            --end;
    }
    return s.substr(0, end);
}

} // namespace arc
