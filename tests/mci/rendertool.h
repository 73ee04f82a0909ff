#pragma once
// Runs the sonolux-render tool of the program folder, as a user would.

#include "platform/files.h"
#include "support/tempfolder.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace rendertool {

struct ToolRun
{
    int exitCode = -1;
    std::string errors;
};

// Runs sonolux-render from the program folder with arguments (quoted by the caller), its
// error output kept in folder.
inline ToolRun Run(const testing_support::TempFolder &folder, const std::string &arguments)
{
    const std::string errors = folder / "stderr.txt";
    const std::string command = std::string("'") + SONOLUX_DIST_DIR + "/sonolux-render' " +
                                arguments + " 2> '" + errors + "'";
    const int status = std::system(command.c_str());
    ToolRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.errors = platform::ReadFile(errors);
    return run;
}

} // namespace rendertool
