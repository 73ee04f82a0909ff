#include "outside/rcpcv/text.h"

namespace rcpcv {

namespace {

constexpr size_t kMaxTitleBytes = 127;

std::string UpToZero(ByteView field)
{
    size_t length = 0;
    while (length < field.Size() && field.U8(length) != 0)
        ++length;
    return {reinterpret_cast<const char *>(field.Data()), length};
}

bool IsBlank(char c)
{
    return static_cast<uint8_t>(c) <= 0x20;
}

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool IsShiftJisLead(uint8_t byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::string CutText(const std::string &text, size_t maxBytes)
{
    size_t end = 0;
    while (end < text.size()) {
        const size_t width = IsShiftJisLead(static_cast<uint8_t>(text[end])) ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return text.substr(0, end < text.size() ? end : text.size());
}

std::string TitleText(ByteView field)
{
    std::string text = UpToZero(field);
    size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    size_t last = text.size();
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return CutText(text.substr(first, last - first), kMaxTitleBytes);
}

std::string FieldText(ByteView field, bool keepLeading)
{
    std::string text = UpToZero(field);
    size_t last = text.size();
    while (last > 0 && text[last - 1] == ' ')
        --last;
    size_t first = 0;
    while (!keepLeading && first < last && text[first] == ' ')
        ++first;
    return text.substr(first, last - first);
}

std::string BaseName(const std::string &name)
{
    size_t start = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<uint8_t>(name[i]);
        if (IsShiftJisLead(byte)) {
            ++i; // the trail byte may be 0x5C and is no separator
            continue;
        }
        if (byte == '\\' || byte == '/' || byte == ':')
            start = i + 1;
    }
    return name.substr(start);
}

bool EqualIgnoringAsciiCase(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

} // namespace rcpcv
