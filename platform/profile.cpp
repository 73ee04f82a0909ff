#include "profile.h"

#include "base/trimstring.h"

#include "files.h"
#include "mbcs.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {
namespace {

constexpr std::size_t ReadBufferSize = 2048;
// Every lookup reads the whole file, so a file beyond any real settings file is refused
// rather than read into memory again and again.
constexpr std::size_t MaxProfileBytes = std::size_t{1} << 20;

std::string Trim(const std::string &s)
{
    return base::Trim(s, base::IsSpaceOrTab);
}

// The text stored for value: cut at a line break, which a profile line cannot hold, and
// put in quotes when reading would otherwise change it (spaces or tabs at either end are
// trimmed, and one pair of enclosing quotes is taken off).
std::string StoredText(const std::string &value)
{
    const std::string text = value.substr(0, value.find_first_of("\r\n"));
    const bool quoted = text.size() >= 2 && text.front() == '"' && text.back() == '"';
    if (quoted || Trim(text) != text)
        return '"' + text + '"';
    return text;
}

struct Lines
{
    std::vector<std::string> lines; // without their line ends
    std::string lineEnd = "\n";
    bool endsWithLineEnd = true;
};

Lines SplitLines(const std::string &data)
{
    Lines result;
    if (data.find("\r\n") != std::string::npos)
        result.lineEnd = "\r\n";
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t end = data.find('\n', start);
        const bool last = end == std::string::npos;
        if (last)
            end = data.size();
        std::string line = data.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        result.lines.push_back(line);
        result.endsWithLineEnd = !last;
        start = end + 1;
    }
    return result;
}

std::optional<std::string> SectionName(const std::string &line)
{
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

bool KeyOf(const std::string &line, std::string &key, std::string &value)
{
    const auto eq = line.find('=');
    if (eq == std::string::npos)
        return false;
    key = Trim(line.substr(0, eq));
    value = Trim(line.substr(eq + 1));
    return true;
}

// The file's contents, or nothing when there is no file. A file that exists but
// cannot be read throws: writing must never replace what it could not read.
std::optional<std::string> ReadIfPresent(const std::string &path)
{
    if (!FileExists(path))
        return std::nullopt;
    try {
        return ReadFile(path, MaxProfileBytes);
    } catch (const FileTooLargeError &) {
        throw std::runtime_error(path + " is too large for a settings file (more than " +
                                 std::to_string(MaxProfileBytes >> 20) + " MB).");
    }
}

std::optional<std::string> ReadForLookup(const std::string &path)
{
    try {
        return ReadIfPresent(path);
    } catch (const std::exception &) {
        return std::nullopt; // an unreadable file reads as missing: defaults
    }
}

std::optional<std::string> FindValue(const std::string &path, const std::string &section,
                                     const std::string &key)
{
    const auto data = ReadForLookup(path);
    if (!data)
        return std::nullopt;
    bool inSection = false;
    for (const std::string &line : SplitLines(*data).lines) {
        if (const auto name = SectionName(line)) {
            inSection = SameTextAscii(*name, section);
            continue;
        }
        std::string k, v;
        if (inSection && KeyOf(line, k, v) && SameTextAscii(k, key))
            return v;
    }
    return std::nullopt;
}

// Sets section/key to value in lines: replaces the key's line, or adds the key at the end
// of its section, or adds the section at the end of the file.
void StoreValue(std::vector<std::string> &lines, const std::string &section, const std::string &key,
                const std::string &value)
{
    // Find the section, the key inside it, and the last key line of the section.
    std::optional<std::size_t> sectionLine, keyLine, lastInSection;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i])) {
            if (sectionLine)
                break; // the next section: the key is not in ours
            if (SameTextAscii(*name, section))
                sectionLine = lastInSection = i;
            continue;
        }
        if (!sectionLine)
            continue;
        std::string k, v;
        if (KeyOf(lines[i], k, v)) {
            lastInSection = i;
            if (SameTextAscii(k, key)) {
                keyLine = i;
                break;
            }
        }
    }

    const std::string entry = key + "=" + value;
    if (keyLine) {
        lines[*keyLine] = entry;
    } else if (sectionLine) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*lastInSection + 1), entry);
    } else {
        if (!lines.empty() && !Trim(lines.back()).empty())
            lines.emplace_back();
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    }
}

} // namespace

bool ParseProfileInteger(const std::string &text, int &value)
{
    const std::string t = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) {
        negative = t[i] == '-';
        ++i;
    }
    int base = 10;
    if (t.size() >= i + 2 && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size())
        return false;
    std::uint64_t magnitude = 0;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        magnitude =
            magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (magnitude > 0xFFFFFFFFull)
            return false;
    }
    if (base == 10) {
        if (magnitude > (negative ? 2147483648ull : 2147483647ull))
            return false;
        value = negative ? static_cast<int>(-static_cast<std::int64_t>(magnitude))
                         : static_cast<int>(magnitude);
        return true;
    }
    // Hexadecimal covers the whole 32-bit range; 0xFFFFFFFF is -1.
    const auto bits = static_cast<std::uint32_t>(magnitude);
    value = static_cast<int>(negative ? (0u - bits) : bits);
    return true;
}

ProfileFile::ProfileFile(std::string path)
    : path_(std::move(path))
{
}

std::string ProfileFile::ReadString(const std::string &section, const std::string &key,
                                    const std::string &defaultValue) const
{
    std::string value = FindValue(path_, section, key).value_or(defaultValue);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return TruncateText(value, ReadBufferSize - 1);
}

int ProfileFile::ReadInteger(const std::string &section, const std::string &key,
                             int defaultValue) const
{
    int value = 0;
    if (ParseProfileInteger(ReadString(section, key, std::string()), value))
        return value;
    return defaultValue;
}

bool ProfileFile::ReadBool(const std::string &section, const std::string &key,
                           bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void ProfileFile::WriteString(const std::string &section, const std::string &key,
                              const std::string &value)
{
    WriteValues({{section, key, value}});
}

void ProfileFile::WriteValues(const std::vector<ProfileValue> &values)
{
    std::optional<std::string> existing;
    try {
        existing = ReadIfPresent(path_);
    } catch (const std::exception &e) {
        throw ProfileError(e.what());
    }
    Lines file = existing ? SplitLines(*existing) : Lines{};
    for (const ProfileValue &v : values)
        StoreValue(file.lines, v.section, v.key, StoredText(v.value));

    std::string data;
    for (std::size_t i = 0; i < file.lines.size(); ++i) {
        data += file.lines[i];
        if (i + 1 < file.lines.size() || file.endsWithLineEnd || !existing)
            data += file.lineEnd;
    }
    try {
        WriteFileAtomic(path_, data);
    } catch (const std::exception &e) {
        throw ProfileError(e.what());
    }
}

void ProfileFile::WriteInteger(const std::string &section, const std::string &key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(const std::string &section, const std::string &key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

} // namespace platform
