#include "mbcs.h"

#include "base/textbytes.h"

#include <atomic>
#include <cstdlib>
#include <stdexcept>

namespace platform {
namespace {

constexpr const char *codePageVariable = "SONOLUX_CODEPAGE";

int CodePageFromEnvironment()
{
    const char *value = std::getenv(codePageVariable);
    if (value != nullptr && std::string(value) == "932")
        return cpShiftJis;
    return cpUtf8;
}

std::atomic<int> &CurrentCodePage()
{
    static std::atomic<int> codePage{CodePageFromEnvironment()};
    return codePage;
}

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool MatchFrom(const std::string &name, std::size_t n, const std::string &mask, std::size_t m)
{
    while (m < mask.size()) {
        const char c = mask[m];
        if (c == '*') {
            while (m < mask.size() && mask[m] == '*')
                ++m;
            if (m == mask.size())
                return true;
            for (std::size_t i = n; i <= name.size();
                 i += (i < name.size() ? CharLength(name, i) : 1))
                if (MatchFrom(name, i, mask, m))
                    return true;
            return false;
        }
        if (n >= name.size())
            return false;
        const std::size_t nameLen = CharLength(name, n);
        if (c == '?') {
            n += nameLen;
            ++m;
            continue;
        }
        const std::size_t maskLen = CharLength(mask, m);
        if (nameLen != maskLen)
            return false;
        if (nameLen == 1) {
            if (FoldAscii(name[n]) != FoldAscii(c))
                return false;
        } else if (name.compare(n, nameLen, mask, m, maskLen) != 0) {
            return false;
        }
        n += nameLen;
        m += maskLen;
    }
    return n == name.size();
}

} // namespace

int CodePage()
{
    return CurrentCodePage().load(std::memory_order_relaxed);
}

void SetCodePage(int codePage)
{
    if (codePage != cpUtf8 && codePage != cpShiftJis)
        throw std::invalid_argument("unsupported code page " + std::to_string(codePage));
    setenv(codePageVariable, std::to_string(codePage).c_str(), 1);
    CurrentCodePage().store(codePage, std::memory_order_relaxed);
}

bool IsLeadByte(unsigned char c)
{
    return CodePage() == cpShiftJis && base::IsShiftJisLead(c);
}

std::size_t CharLength(const std::string &s, std::size_t i)
{
    if (i + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[i])))
        return 2;
    return 1;
}

std::string::size_type LastDelimiter(const std::string &delimiters, const std::string &s)
{
    std::string::size_type found = std::string::npos;
    if (CodePage() != cpShiftJis) {
        // UTF-8 never uses ASCII bytes inside a multibyte character.
        return s.find_last_of(delimiters);
    }
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i)) {
        if (CharLength(s, i) == 1 && delimiters.find(s[i]) != std::string::npos)
            found = i;
    }
    return found;
}

std::string TruncateText(const std::string &s, std::size_t maxBytes)
{
    if (s.size() <= maxBytes)
        return s;
    std::size_t end = 0;
    if (CodePage() == cpShiftJis) {
        while (end < s.size() && end + CharLength(s, end) <= maxBytes)
            end += CharLength(s, end);
    } else {
        end = maxBytes;
        // Step back over UTF-8 continuation bytes so no character is split.
        while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80)
            --end;
    }
    return s.substr(0, end);
}

std::string AsciiLowerCase(std::string s)
{
    for (char &c : s)
        c = FoldAscii(c);
    return s;
}

std::string AsciiUpperCase(std::string s)
{
    for (char &c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool SameTextAscii(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

bool MatchesMask(const std::string &name, const std::string &mask)
{
    if (mask == "*.*" || mask == "*")
        return true;
    return MatchFrom(name, 0, mask, 0);
}

} // namespace platform
