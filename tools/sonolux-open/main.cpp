// sonolux-open [FILE...]: opens files in the player as if they were dropped on its bar (the
// play list is replaced and the first song plays); with no files it brings the player to
// the front. The desktop entry runs it for files opened from the file manager. A running
// player takes the files at once; otherwise the player beside this program is started.
// Exit status: 0 handed over, 1 the player could not be started or reached.
#include "launcher.h"

#include "platform/files.h"
#include "platform/openmessage.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr std::chrono::seconds StartTimeout{20};
constexpr const char *PlayerProgramName = "sonolux";

std::string CurrentFolder()
{
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string("/");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The paths' bytes as given; a relative one is made absolute here, since the player
    // runs in a folder of its own.
    const std::string folder = CurrentFolder();
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i)
        paths.push_back(platform::AbsolutePath(argv[i], folder));
    try {
        HandOver(platform::EncodeOpenMessage(paths), platform::ProgramFolder() + PlayerProgramName,
                 StartTimeout);
        return 0;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "sonolux-open: %s\n", error.what());
        return 1;
    }
}
