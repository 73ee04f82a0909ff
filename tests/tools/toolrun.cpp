#include "toolrun.h"

#include "platform/files.h"

#include <cstdlib>
#include <sys/wait.h>

namespace tools_testing {

ToolRun RunTool(const std::string &command, const std::string &scratchFolder)
{
    const std::string out = scratchFolder + "/stdout.txt";
    const std::string errors = scratchFolder + "/stderr.txt";
    const int status = std::system((command + " >" + Quoted(out) + " 2>" + Quoted(errors)).c_str());
    ToolRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = platform::ReadFile(out);
    run.errors = platform::ReadFile(errors);
    return run;
}

std::string Tool(const std::string &name)
{
    return Quoted(std::string(SONOLUX_DIST_DIR) + "/" + name);
}

std::string Quoted(const std::string &text)
{
    return "'" + text + "'";
}

} // namespace tools_testing
