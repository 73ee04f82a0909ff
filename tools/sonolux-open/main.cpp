// sonolux-open [FILE...]: opens files in the player as if they were dropped on its bar (the
// play list is replaced and the first song plays); with no files it brings the player to
// the front. The desktop entry runs it for files opened from the file manager. A running
// player takes the files at once; otherwise the player beside this program is started.
// Exit status: 0 handed over (or help shown), 1 the player could not be started or reached,
// 2 wrong arguments.
#include "launcher.h"

#include "platform/files.h"
#include "platform/openmessage.h"
#include "tools/cli/commandline.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr std::chrono::seconds StartTimeout{20};
constexpr const char *PlayerProgramName = "sonolux";
constexpr int ExitUsage = 2;

constexpr const char *Help =
    "usage: sonolux-open [--] [FILE...]\n"
    "Opens the files in the Sono Lux player as if they were dropped on its bar: the play\n"
    "list is replaced and the first song plays. With no files it brings the player to the\n"
    "front. A running player takes the files; otherwise the player is started first.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "  --         end of options: every argument after it is a file\n"
    "\n"
    "Exit status: 0 handed over, 1 the player could not be started or reached,\n"
    "2 wrong arguments.\n";

std::string CurrentFolder()
{
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string("/");
}

// The files to open, each made absolute (the player runs in a folder of its own); false
// for an unknown option.
bool Parse(int argc, char **argv, std::vector<std::string> &paths)
{
    const std::string folder = CurrentFolder();
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && toolcli::IsOption(arg)) {
            std::fprintf(stderr, "sonolux-open: unknown option %s\n", arg.c_str());
            return false;
        } else {
            paths.push_back(platform::AbsolutePath(arg, folder));
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // Answered before anything else, so that no player is started or reached.
    const toolcli::InfoRequest info = toolcli::FindInfoRequest(argc, argv);
    if (info != toolcli::InfoRequest::None)
        return toolcli::AnswerInfoRequest(info, "sonolux-open", Help);
    std::vector<std::string> paths;
    if (!Parse(argc, argv, paths)) {
        std::fputs("Try 'sonolux-open --help' for more information.\n", stderr);
        return ExitUsage;
    }
    QCoreApplication app(argc, argv);
    try {
        HandOver(platform::EncodeOpenMessage(paths), platform::ProgramFolder() + PlayerProgramName,
                 StartTimeout);
        return 0;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "sonolux-open: %s\n", error.what());
        return 1;
    }
}
