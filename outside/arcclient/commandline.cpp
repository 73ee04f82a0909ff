#include "commandline.h"

#include "base/trimstring.h"

#include "outside/arccommon/codepage.h"
#include "outside/include/archiver_api.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace arc {
namespace {

constexpr std::size_t maxResponseFile = 1u << 20;

std::string Lower(std::string s)
{
    for (char &c : s)
        c = FoldAscii(c);
    return s;
}

// The folder without its folder mark; "/" stays "/".
std::string StripFolderMark(const std::string &folder)
{
    if (!EndsWithFolderMark(folder, NameEncoding(folder)))
        return folder;
    const std::string stripped = folder.substr(0, folder.size() - 1);
    return stripped.empty() ? std::string("/") : stripped;
}

struct KnownCommand
{
    bool known = false;
    bool keepFolders = true;
};

KnownCommand CommandOf(CommandStyle style, const std::string &command)
{
    const std::string c = Lower(command);
    switch (style) {
    case CommandStyle::Lha:
        if (c == "x" || c == "e")
            return {true, c == "x"};
        break;
    case CommandStyle::Zip:
    case CommandStyle::Cab:
        if (c == "-x")
            return {true, true};
        break;
    case CommandStyle::Tar:
        if (c == "x" || c == "-x" || c == "--extract")
            return {true, true};
        break;
    case CommandStyle::Rar:
        if (c == "-x" || c == "x" || c == "-e" || c == "e")
            return {true, c == "-x" || c == "x"};
        break;
    }
    return {};
}

class Parser
{
public:
    Parser(CommandStyle style, ExtractRequest &request)
        : style_(style)
        , request_(request)
    {
    }

    // Applies one switch; pending is set when the next token is the switch's value.
    void Switch(const std::string &token)
    {
        const std::string s = Lower(token);
        switch (style_) {
        case CommandStyle::Lha:
            if (s == "-x0")
                request_.keepFolders = false;
            else if ((s == "-x" || s == "-x1") && commandKeepsFolders_)
                request_.keepFolders = true;
            break;
        case CommandStyle::Zip:
        case CommandStyle::Cab:
            if (s == "-j")
                request_.keepFolders = false;
            break;
        case CommandStyle::Tar:
            if (s == "-f")
                pending_ = &request_.archive;
            else if (s == "-o")
                pending_ = &folderOption_;
            else if (s.rfind("--use-directory=", 0) == 0)
                request_.keepFolders = s != "--use-directory=0";
            break;
        case CommandStyle::Rar:
            break;
        }
    }

    bool Item(const std::string &item, std::string &error)
    {
        if (item.empty() && pending_ == nullptr)
            return true; // an empty quoted item names nothing
        if (pending_ != nullptr) {
            *pending_ = item;
            pending_ = nullptr;
            return true;
        }
        if (request_.archive.empty()) {
            request_.archive = item;
            return true;
        }
        if (!item.empty() && item[0] == '@') {
            std::vector<std::string> listed;
            if (!ReadResponseFile(item.substr(1), listed)) {
                error = "cannot read the response file " + item.substr(1);
                return false;
            }
            for (const std::string &name : listed)
                AddMask(name);
            return true;
        }
        // A Shift-JIS mask ending in a character whose second byte is "\" is no folder.
        if (!haveFolder_ && EndsWithFolderMark(item, NameEncoding(item))) {
            request_.folder = StripFolderMark(item);
            haveFolder_ = true;
            return true;
        }
        AddMask(item);
        return true;
    }

    void Finish()
    {
        if (!folderOption_.empty())
            request_.folder = StripFolderMark(folderOption_);
    }

    void SetCommand(const KnownCommand &command)
    {
        commandKeepsFolders_ = command.keepFolders;
        request_.keepFolders = command.keepFolders;
    }

private:
    void AddMask(const std::string &mask)
    {
        if (!mask.empty())
            request_.masks.push_back(mask);
    }

    CommandStyle style_;
    ExtractRequest &request_;
    std::string *pending_ = nullptr;
    std::string folderOption_;
    bool haveFolder_ = false;
    bool commandKeepsFolders_ = true;
};

// The whole of the regular file at path when it holds at most limit bytes. Anything else
// (a pipe, a device, a folder) is refused without being read, so that no name on a command
// line can make the caller wait for input.
bool ReadRegularFile(const std::string &path, std::size_t limit, std::string &text)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat info
    {
    };
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    text.clear();
    char buffer[65536];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        ok = static_cast<std::size_t>(n) <= limit - text.size();
        if (ok)
            text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ok;
}

} // namespace

std::vector<CommandToken> TokenizeCommandLine(const std::string &line)
{
    std::vector<CommandToken> tokens;
    CommandToken current;
    bool inToken = false;
    bool inQuotes = false;
    for (const char c : line) {
        if (c == '"') {
            inQuotes = !inQuotes;
            inToken = true;
            current.quoted = true;
        } else if (base::IsSpaceOrLineBreak(static_cast<unsigned char>(c)) && !inQuotes) {
            if (inToken)
                tokens.push_back(current);
            current = CommandToken();
            inToken = false;
        } else {
            current.text.push_back(c);
            inToken = true;
        }
    }
    if (inToken)
        tokens.push_back(current);
    return tokens;
}

bool ReadResponseFile(const std::string &path, std::vector<std::string> &items)
{
    std::string text;
    if (!ReadRegularFile(path, maxResponseFile, text))
        return false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        line = base::TrimEnd(std::move(line), base::IsSpaceOrLineBreak);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos)
            continue;
        line.erase(0, first);
        if (line[0] == '"') {
            for (const CommandToken &token : TokenizeCommandLine(line))
                items.push_back(token.text);
        } else {
            items.push_back(line);
        }
    }
    return true;
}

int ParseCommandLine(CommandStyle style, const std::string &line, ExtractRequest &request,
                     std::string &error)
{
    request = ExtractRequest();
    // The syntax has no escape for a double quote: an unpaired one means a path holding one
    // was written in, and the items cannot be told apart safely.
    if (std::count(line.begin(), line.end(), '"') % 2 != 0) {
        error = "a double quote is not closed (names holding one cannot be given)";
        return ERROR_COMMAND_NAME;
    }
    const std::vector<CommandToken> tokens = TokenizeCommandLine(line);
    if (tokens.empty()) {
        error = "no command";
        return ERROR_COMMAND_NAME;
    }
    const KnownCommand command = CommandOf(style, tokens[0].text);
    if (!command.known) {
        error = "unknown command " + tokens[0].text;
        return ERROR_COMMAND_NAME;
    }
    Parser parser(style, request);
    parser.SetCommand(command);
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        const std::string &text = tokens[i].text;
        // Switches come before the archive, quoted or not; after it a quoted item is a
        // folder or a mask even when it begins with "-".
        const bool item = tokens[i].quoted && !request.archive.empty();
        if (text.size() > 1 && text[0] == '-' && !item) {
            parser.Switch(text);
        } else if (!parser.Item(text, error)) {
            return ERROR_RESPONSE_READ;
        }
    }
    parser.Finish();
    if (request.archive.empty()) {
        error = "no archive named";
        return ERROR_NOT_FIND_ARC_FILE;
    }
    return 0;
}

} // namespace arc
