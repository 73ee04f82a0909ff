#include "outside/rcpcv/text.h"

#include "base/textbytes.h"
#include "base/trimstring.h"

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

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string CutText(const std::string &text, size_t maxBytes)
{
    size_t end = 0;
    while (end < text.size()) {
        const size_t width = base::IsShiftJisLead(static_cast<uint8_t>(text[end])) ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return text.substr(0, end < text.size() ? end : text.size());
}

std::string TitleText(ByteView field)
{
    return CutText(base::Trim(UpToZero(field), base::IsBlankOrControl), kMaxTitleBytes);
}

std::string FieldText(ByteView field, bool keepLeading)
{
    const auto isSpace = [](unsigned char c) { return c == ' '; };
    std::string text = base::TrimEnd(UpToZero(field), isSpace);
    return keepLeading ? text : base::Trim(text, isSpace);
}

std::string BaseName(const std::string &name)
{
    size_t start = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<uint8_t>(name[i]);
        if (base::IsShiftJisLead(byte)) {
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
