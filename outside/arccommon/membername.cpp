#include "membername.h"

namespace arc {
namespace {

bool IsSeparatorAt(const std::string &s, std::size_t i, TextEncoding encoding)
{
    return CharLength(s, i, encoding) == 1 && (s[i] == '/' || s[i] == '\\');
}

// s with every separator written as "/".
std::string NormalizeSeparators(const std::string &s, TextEncoding encoding)
{
    std::string out = s;
    for (std::size_t i = 0; i < out.size(); i += CharLength(out, i, encoding))
        if (IsSeparatorAt(out, i, encoding))
            out[i] = '/';
    return out;
}

bool HasSeparator(const std::string &s, TextEncoding encoding)
{
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i, encoding))
        if (IsSeparatorAt(s, i, encoding))
            return true;
    return false;
}

bool MatchFrom(const std::string &text, std::size_t t, TextEncoding te, const std::string &mask,
               std::size_t m, TextEncoding me)
{
    while (m < mask.size()) {
        if (mask[m] == '*') {
            while (m < mask.size() && mask[m] == '*')
                ++m;
            if (m == mask.size())
                return true;
            for (std::size_t i = t; i <= text.size();
                 i += (i < text.size() ? CharLength(text, i, te) : 1))
                if (MatchFrom(text, i, te, mask, m, me))
                    return true;
            return false;
        }
        if (t >= text.size())
            return false;
        const std::size_t textLength = CharLength(text, t, te);
        if (mask[m] == '?') {
            t += textLength;
            ++m;
            continue;
        }
        const std::size_t maskLength = CharLength(mask, m, me);
        if (textLength != maskLength)
            return false;
        if (textLength == 1) {
            if (FoldAscii(text[t]) != FoldAscii(mask[m]))
                return false;
        } else if (text.compare(t, textLength, mask, m, maskLength) != 0) {
            return false;
        }
        t += textLength;
        m += maskLength;
    }
    return t == text.size();
}

} // namespace

std::vector<std::string> SplitMemberPath(const std::string &name)
{
    const TextEncoding encoding = NameEncoding(name);
    std::vector<std::string> parts;
    std::string current;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t length = CharLength(name, i, encoding);
        if (IsSeparatorAt(name, i, encoding)) {
            parts.push_back(current);
            current.clear();
        } else {
            current.append(name, i, length);
        }
        i += length;
    }
    parts.push_back(current);
    return parts;
}

std::string MemberBaseName(const std::string &name)
{
    const std::vector<std::string> parts = SplitMemberPath(name);
    for (auto it = parts.rbegin(); it != parts.rend(); ++it)
        if (!it->empty())
            return *it;
    return std::string();
}

bool IsUsableFileName(const std::string &part)
{
    return !part.empty() && part != "." && part != ".." && part.find('/') == std::string::npos &&
           part.find('\0') == std::string::npos;
}

bool SafeRelativeParts(const std::string &name, std::vector<std::string> &parts)
{
    parts.clear();
    const std::vector<std::string> all = SplitMemberPath(name);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::string &part = all[i];
        if (part.empty() || part == ".")
            continue;
        if (parts.empty() && i == 0 && part.size() == 2 && part[1] == ':')
            continue; // a DOS drive ahead of the path
        if (!IsUsableFileName(part))
            return false;
        parts.push_back(part);
    }
    return !parts.empty();
}

bool MatchesWildcard(const std::string &text, TextEncoding textEncoding, const std::string &mask,
                     TextEncoding maskEncoding)
{
    return MatchFrom(text, 0, textEncoding, mask, 0, maskEncoding);
}

bool MemberMatchesMask(const std::string &member, const std::string &mask)
{
    if (mask == "*" || mask == "*.*")
        return true;
    // Both are scanned in the member name's own encoding, whatever the process code page:
    // a mask naming a Shift-JIS member holds the same Shift-JIS bytes, and scanned as UTF-8
    // its "\" second bytes would look like separators.
    const TextEncoding memberEncoding = NameEncoding(member);
    const TextEncoding maskEncoding = memberEncoding;
    if (!HasSeparator(mask, maskEncoding))
        return MatchesWildcard(MemberBaseName(member), memberEncoding, mask, maskEncoding);
    std::string path = NormalizeSeparators(member, memberEncoding);
    std::string pattern = NormalizeSeparators(mask, maskEncoding);
    // Stored names and masks may both start with separators; neither counts.
    path.erase(0, path.find_first_not_of('/'));
    pattern.erase(0, pattern.find_first_not_of('/'));
    return MatchesWildcard(path, memberEncoding, pattern, maskEncoding);
}

bool MemberMatchesAny(const std::string &member, const std::vector<std::string> &masks)
{
    if (masks.empty())
        return true;
    for (const std::string &mask : masks)
        if (MemberMatchesMask(member, mask))
            return true;
    return false;
}

} // namespace arc
