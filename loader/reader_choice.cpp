#include "reader_choice.h"

namespace loader {
namespace {

bool IsSeparator(unsigned char c)
{
    return c == '/' || c == '\\' || c == ':';
}

unsigned char LowerAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// True when the length bytes at text equal the lower-case ASCII word, ignoring ASCII case.
bool SameTextAscii(const unsigned char *text, size_t length, const char *word)
{
    size_t i = 0;
    for (; i < length && word[i] != '\0'; ++i)
        if (LowerAscii(text[i]) != static_cast<unsigned char>(word[i]))
            return false;
    return i == length && word[i] == '\0';
}

} // namespace

TitleReader ChooseTitleReader(const ShortText &fileName, CodePage codePage)
{
    const unsigned char *name = fileName.Data();
    const size_t length = fileName.Length();
    size_t dot = length; // none yet
    for (size_t i = 0; i < length; i += CharacterLength(name, length, i, codePage)) {
        if (CharacterLength(name, length, i, codePage) != 1)
            continue;
        if (IsSeparator(name[i]))
            dot = length;
        else if (name[i] == '.')
            dot = i;
    }
    const unsigned char *extension = name + dot;
    const size_t extensionLength = length - dot;
    if (SameTextAscii(extension, extensionLength, ".mid"))
        return TitleReader::Smf;
    if (SameTextAscii(extension, extensionLength, ".rcp") ||
        SameTextAscii(extension, extensionLength, ".r36") ||
        SameTextAscii(extension, extensionLength, ".g36"))
        return TitleReader::Rcp;
    return TitleReader::None;
}

} // namespace loader
