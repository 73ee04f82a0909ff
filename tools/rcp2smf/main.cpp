// rcp2smf IN OUT.mid: converts a Recomposer song file (RCP, R36, G36) into a Standard
// MIDI File. Control files the song names are taken from the song's folder.
// Exit status: 0 converted, 1 wrong arguments, 2 the input cannot be converted,
// 3 the output cannot be written.

#include "outside/rcpcv/file_conversion.h"
#include "tools/cli/commandline.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

constexpr int kUsage = 1;
constexpr int kCannotConvert = 2;
constexpr int kCannotWrite = 3;

constexpr const char *kHelp =
    "usage: rcp2smf [--] IN OUT.mid\n"
    "Converts a Recomposer song file (.rcp .r36 .g36) into a Standard MIDI File.\n"
    "Control files the song names (.cm6 .gsd) are taken from the song's folder.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Exit status: 0 converted, 1 wrong arguments, 2 the input cannot be converted,\n"
    "3 the output cannot be written.\n";

const char *Reason(rcpcv::FileStatus status)
{
    switch (status) {
    case rcpcv::FileStatus::kCannotRead:
        return "cannot be read";
    case rcpcv::FileStatus::kNotASong:
        return "is not an RCP, R36 or G36 song file";
    case rcpcv::FileStatus::kDamaged:
        return "is damaged";
    case rcpcv::FileStatus::kOk:
        break;
    }
    return "converted";
}

int Run(const std::string &input, const std::string &output)
{
    rcpcv::Song song;
    const rcpcv::FileStatus status = rcpcv::ConvertFile(input, song);
    if (status != rcpcv::FileStatus::kOk) {
        std::fprintf(stderr, "rcp2smf: %s %s\n", input.c_str(), Reason(status));
        return kCannotConvert;
    }
    if (!rcpcv::SaveSmf(song, output)) {
        std::fprintf(stderr, "rcp2smf: cannot write %s\n", output.c_str());
        return kCannotWrite;
    }
    return 0;
}

// The two file names, or false when the arguments are not exactly two files.
bool Parse(int argc, char **argv, std::vector<std::string> &files)
{
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options && arg == "--")
            options = false;
        else if (options && toolcli::IsOption(arg))
            return false;
        else
            files.push_back(arg);
    }
    return files.size() == 2;
}

} // namespace

int main(int argc, char **argv)
{
    const toolcli::InfoRequest info = toolcli::FindInfoRequest(argc, argv);
    if (info != toolcli::InfoRequest::None)
        return toolcli::AnswerInfoRequest(info, "rcp2smf", kHelp);
    std::vector<std::string> files;
    if (!Parse(argc, argv, files)) {
        std::fputs("usage: rcp2smf [--] IN OUT.mid\n"
                   "Try 'rcp2smf --help' for more information.\n",
                   stderr);
        return kUsage;
    }
    try {
        return Run(files[0], files[1]);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "rcp2smf: %s\n", error.what());
        return kCannotConvert;
    }
}
