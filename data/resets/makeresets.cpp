// Writes the reset files shipped in the program's "format" folder.
//
// Each file sends one reset message and then runs on for 100 ms before it ends, because
// the player starts the song the moment the reset file has ended. The makers document
// about 50 ms for a module to carry out GM System On, GS Reset and XG System On; twice
// that covers older and slower modules and the latency of the output path (a USB MIDI
// interface or the sequencer queue), while a tenth of a second between songs goes unnoticed.

#include "smfwriter.h"

#include "platform/files.h"

#include <cstdio>
#include <exception>
#include <filesystem>

namespace {

constexpr int SettleMs = 100;

const TResetMessage Resets[] = {
    {"GM.MID", "GM System On", {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}, SettleMs},
    {"GS.MID",
     "GS Reset",
     {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7},
     SettleMs},
    {"XG.MID", "XG System On", {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7}, SettleMs},
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <format folder>\n", argv[0]);
        return 2;
    }
    try {
        const std::string folder = platform::IncludeTrailingDelimiter(argv[1]);
        std::filesystem::create_directories(folder);
        for (const TResetMessage &reset : Resets)
            platform::WriteFileAtomic(folder + reset.fileName, BuildResetFile(reset));
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 1;
    }
    return 0;
}
