#include "code_page.h"

#include "base/textbytes.h"

#include <stdlib.h>
#include <string.h>

namespace loader {

CodePage ProcessCodePage()
{
    const char *value = getenv("SONOLUX_CODEPAGE");
    return (value != nullptr && strcmp(value, "932") == 0) ? CodePage::ShiftJis : CodePage::Utf8;
}

bool IsLeadByte(unsigned char c, CodePage codePage)
{
    return codePage == CodePage::ShiftJis && base::IsShiftJisLead(c);
}

size_t CharacterLength(const unsigned char *text, size_t length, size_t i, CodePage codePage)
{
    return (i + 1 < length && IsLeadByte(text[i], codePage)) ? 2 : 1;
}

size_t CutBetweenCharacters(const unsigned char *text, size_t length, size_t maxBytes,
                            CodePage codePage)
{
    if (length <= maxBytes)
        return length;
    if (codePage == CodePage::ShiftJis) {
        size_t end = 0;
        while (end + CharacterLength(text, length, end, codePage) <= maxBytes)
            end += CharacterLength(text, length, end, codePage);
        return end;
    }
    // UTF-8: step back over continuation bytes so no character is split.
    size_t end = maxBytes;
    while (end > 0 && (text[end] & 0xC0) == 0x80)
        --end;
    return end;
}

} // namespace loader
