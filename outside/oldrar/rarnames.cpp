#include "rarnames.h"

#include <cstdint>
#include <vector>

namespace oldrar {
namespace {

void AppendUtf8(std::string &out, std::uint32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | c >> 18));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string Utf16ToUtf8(const std::vector<std::uint16_t> &units)
{
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD; // a lone surrogate
        AppendUtf8(out, c);
    }
    return out;
}

// Unpacks the packed characters that follow the 8-bit name: each pair of flag bits says
// whether the next character is a low byte alone, a low byte under the common high byte,
// two bytes, or a run taken from the 8-bit name (with a correction under the high byte).
std::vector<std::uint16_t> Unpack(const std::string &ascii, const unsigned char *p,
                                  std::size_t size)
{
    std::vector<std::uint16_t> units;
    const std::size_t limit = ascii.size() + size; // no name packs longer than this
    std::size_t at = 0;
    if (size == 0)
        return units;
    const unsigned high = p[at++];
    unsigned flags = 0;
    int flagBits = 0;
    while (at < size && units.size() < limit) {
        if (flagBits == 0) {
            flags = p[at++];
            flagBits = 8;
        }
        const unsigned kind = flags >> 6;
        flags = (flags << 2) & 0xFF;
        flagBits -= 2;
        if (kind == 0 && at < size) {
            units.push_back(p[at++]);
        } else if (kind == 1 && at < size) {
            units.push_back(static_cast<std::uint16_t>(p[at++] | high << 8));
        } else if (kind == 2 && at + 1 < size) {
            units.push_back(static_cast<std::uint16_t>(p[at] | p[at + 1] << 8));
            at += 2;
        } else if (kind == 3 && at < size) {
            unsigned length = p[at++];
            const bool corrected = (length & 0x80) != 0;
            const unsigned correction = corrected && at < size ? p[at++] : 0;
            length = (length & 0x7F) + 2;
            for (; length > 0 && units.size() < ascii.size(); --length) {
                const unsigned char a = static_cast<unsigned char>(ascii[units.size()]);
                units.push_back(
                    corrected ? static_cast<std::uint16_t>(((a + correction) & 0xFF) | high << 8)
                              : a);
            }
        } else {
            break;
        }
    }
    return units;
}

} // namespace

std::string UnicodeName(const std::string &field)
{
    const std::size_t zero = field.find('\0');
    if (zero == std::string::npos)
        return field;
    const std::string ascii = field.substr(0, zero);
    const auto *packed = reinterpret_cast<const unsigned char *>(field.data()) + zero + 1;
    const std::vector<std::uint16_t> units = Unpack(ascii, packed, field.size() - zero - 1);
    return units.empty() ? ascii : Utf16ToUtf8(units);
}

} // namespace oldrar
