#pragma once
// The command lines the program's archive back-ends build for each library: a command,
// switches, the archive, the folder (written with a trailing "\" or "/"), and masks, each
// item possibly in double quotes; "@file" stands for the items listed in file. A token
// beginning with "-" is a switch, except a quoted one after the archive: that is a mask.

#include <string>
#include <vector>

namespace arc {

// Whose syntax a command line follows (ARJ uses the LHA syntax).
enum class CommandStyle { Lha, Zip, Cab, Tar, Rar };

struct CommandToken
{
    std::string text; // quotes removed
    bool quoted = false;
};

// Splits line at blanks outside double quotes. Quotes are removed; a quoted empty item
// ("") is an empty token. Works on bytes: no Shift-JIS or UTF-8 character contains a
// blank or a double quote byte.
std::vector<CommandToken> TokenizeCommandLine(const std::string &line);

struct ExtractRequest
{
    std::string archive;
    std::string folder; // without its trailing mark; empty for the current folder
    bool keepFolders = true;
    std::vector<std::string> masks;
};

// Reads an extraction command line of style: 0 with request filled, ERROR_COMMAND_NAME
// for an unknown command or a double quote left unpaired (no item can hold one),
// ERROR_NOT_FIND_ARC_FILE when no archive is named, ERROR_RESPONSE_READ when a response file cannot
// be read. error says what was wrong.
int ParseCommandLine(CommandStyle style, const std::string &line, ExtractRequest &request,
                     std::string &error);

// The items of a response file: one per line, or several double-quoted ones on a line.
// False when path is not a regular file (never waiting on a pipe or device) or holds more
// than 1 MiB.
bool ReadResponseFile(const std::string &path, std::vector<std::string> &items);

} // namespace arc
