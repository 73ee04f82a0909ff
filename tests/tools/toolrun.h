#pragma once
// Runs a built command-line tool through the shell and keeps what it printed.

#include <string>

namespace tools_testing {

struct ToolRun
{
    int exitCode = -1; // -1 when the tool did not end by itself
    std::string out;
    std::string errors;
};

// Runs command (a shell command line; its words quoted by the caller) with standard output
// and standard error caught in files of scratchFolder.
ToolRun RunTool(const std::string &command, const std::string &scratchFolder);

// The built tool name in the program folder, quoted for the shell.
std::string Tool(const std::string &name);

// text in single quotes for the shell (text holds no single quote).
std::string Quoted(const std::string &text);

} // namespace tools_testing
