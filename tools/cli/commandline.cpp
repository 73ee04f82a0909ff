#include "tools/cli/commandline.h"

#include <cstdio>
#include <cstring>

namespace toolcli {

const char *Version()
{
    return SONOLUX_VERSION;
}

InfoRequest FindInfoRequest(int argc, const char *const *argv)
{
    InfoRequest found = InfoRequest::None;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strcmp(argv[i], "--help") == 0)
            return InfoRequest::Help;
        if (std::strcmp(argv[i], "--version") == 0)
            found = InfoRequest::Version;
    }
    return found;
}

int AnswerInfoRequest(InfoRequest request, const char *name, const char *help)
{
    if (request == InfoRequest::Help)
        std::fputs(help, stdout);
    else if (request == InfoRequest::Version)
        std::printf("%s %s\n", name, Version());
    // A full disk or a closed pipe shows only when the buffer is written out.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "%s: cannot write to standard output\n", name);
        return 1;
    }
    return 0;
}

bool IsOption(const std::string &argument)
{
    return argument.size() > 1 && argument[0] == '-';
}

} // namespace toolcli
