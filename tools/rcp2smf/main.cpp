// rcp2smf IN OUT.mid: converts a Recomposer song file (RCP, R36, G36) into a Standard
// MIDI File. Control files the song names are taken from the song's folder.
// Exit status: 0 converted, 1 wrong arguments, 2 the input cannot be converted,
// 3 the output cannot be written.

#include "outside/rcpcv/file_conversion.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

constexpr int kUsage = 1;
constexpr int kCannotConvert = 2;
constexpr int kCannotWrite = 3;

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

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: rcp2smf IN OUT.mid\n"
                             "Converts a Recomposer song file (.rcp .r36 .g36) into a "
                             "Standard MIDI File.\n");
        return kUsage;
    }
    try {
        return Run(argv[1], argv[2]);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "rcp2smf: %s\n", error.what());
        return kCannotConvert;
    }
}
