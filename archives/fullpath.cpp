#include "fullpath.h"

#include "platform/files.h"

#include <cerrno>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace archives {
namespace {

bool IsDriveAbsolute(const std::string &name)
{
    const char drive = name.size() >= 3 ? name[0] : '\0';
    const bool letter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
    return letter && name[1] == ':' && name[2] == '\\';
}

std::string CurrentFolder()
{
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return "/";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

std::string Normalise(const std::string &absolute)
{
    std::vector<std::string> segments;
    std::size_t start = 1;
    while (start <= absolute.size()) {
        std::size_t end = absolute.find('/', start);
        if (end == std::string::npos)
            end = absolute.size();
        const std::string segment = absolute.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string &segment : segments)
        result += '/' + segment;
    if (result.empty())
        return "/";
    // A folder written with its trailing "/" keeps it.
    const bool trailing = absolute.back() == '/';
    return trailing ? result + '/' : result;
}

} // namespace

std::string ExpandFileName(const std::string &name)
{
    const std::string text = name.substr(0, name.find('\0'));
    if (text.empty() || IsDriveAbsolute(text))
        return text;
    if (text[0] == '/')
        return Normalise(text);
    return Normalise(CurrentFolder() + '/' + text);
}

std::string SearchFilePath(const std::string &name)
{
    std::vector<std::string> folders{platform::ProgramFolder(), CurrentFolder()};
    if (const char *path = std::getenv("PATH")) {
        const std::string list = path;
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = list.find(':', start);
            const std::string folder =
                list.substr(start, end == std::string::npos ? end : end - start);
            if (!folder.empty())
                folders.push_back(folder);
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
    }
    for (const std::string &folder : folders) {
        const std::string candidate = platform::IncludeTrailingDelimiter(folder) + name;
        if (platform::FileExists(candidate))
            return candidate;
    }
    return std::string();
}

} // namespace archives
