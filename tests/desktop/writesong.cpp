// writesong OUT LENGTH_MS [TITLE]: writes a silent Standard MIDI File of LENGTH_MS
// milliseconds whose track name is TITLE, for the desktop tests' players.
#include "support/smfbuilder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: writesong OUT LENGTH_MS [TITLE]\n");
        return 2;
    }
    const std::string song = testing_support::MakeSmf(
        static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)), argc > 3 ? argv[3] : "");
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(song.data(), static_cast<std::streamsize>(song.size()));
    return out ? 0 : 1;
}
