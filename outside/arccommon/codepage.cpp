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
    return base::IsValidUtf8(s.data(), s.size());
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
