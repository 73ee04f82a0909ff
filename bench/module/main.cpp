// The module benchmark: what each part of GS and XG songs (device ID 10H, as 1990s files
// write them) plays on FluidSynth 2.3 alone and through the device's module layer, against
// what the module plays; and how loud songs play, at FluidSynth's default gain and at the
// device's level, with FluidR3_GM.

#include "benchsongs.h"
#include "channeltable.h"
#include "loudness.h"

#include "platform/files.h"
#include "platform/mci/outputlevel.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <unistd.h>

namespace {

struct Options
{
    std::string soundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
    std::string fixtures = SONOLUX_FIXTURES_DIR;
};

bool Parse(int argc, char **argv, Options &options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--soundfont" && i + 1 < argc)
            options.soundFont = argv[++i];
        else if (arg == "--fixtures" && i + 1 < argc)
            options.fixtures = argv[++i];
        else
            return false;
    }
    return true;
}

// The fixtures that are songs, not tests of one message.
bool IsMusic(const std::string &name)
{
    static const std::set<std::string> songs = {"Clementi.mid", "Beethoven.rmi",
                                                "hybrid_song_2_20.rmi", "unreeeal_superhero_3.rmi",
                                                "test-karaoke-kar.mid"};
    return songs.count(name) != 0;
}

void PrintParts(const Options &options, const std::string &folder)
{
    bench::PlainSynth plain(options.soundFont);
    const auto songs =
        bench::QueryModuleSongs(bench::ModuleSongs(), plain, options.soundFont, folder);
    std::printf("What each part plays (kit or voice, bank:program, preset), asked of "
                "FluidSynth after the song's messages; '=' where FluidSynth alone plays what "
                "the module plays:\n");
    const auto [before, after] = bench::PrintPartTable(songs, plain);
    std::size_t parts = 0;
    for (const auto &song : songs)
        parts += song.second.size();
    std::printf("  Parts as the module plays them: FluidSynth alone %d of %zu, through the "
                "module layer %d of %zu (the rest: the nearest the SoundFont has)\n\n",
                before, parts, after, parts);
}

void PrintLevels(const Options &options, const std::string &folder)
{
    std::vector<bench::LoudnessRow> rows;
    for (const bench::BandSong &song : bench::BandSongs()) {
        const std::string path = folder + "/band.mid";
        platform::WriteFileAtomic(path, song.bytes);
        bench::LoudnessRow row;
        row.name = song.name;
        row.music = true;
        if (bench::MeasureLoudness(path, options.soundFont, row))
            rows.push_back(row);
    }
    int unplayable = 0;
    for (const std::string &path : bench::SongFilesUnder(options.fixtures)) {
        const std::string name = platform::ExtractFileName(path);
        bench::LoudnessRow row;
        row.name = name;
        row.music = IsMusic(name);
        if (bench::MeasureLoudness(path, options.soundFont, row))
            rows.push_back(row);
        else
            ++unplayable;
    }
    std::printf("Peak level (reverb and chorus on; before: FluidSynth's default gain 0.2 and no "
                "limiter; at base gain %.2f without the limiter; after: as the device plays, "
                "with its limiter at -1 dBFS):\n",
                mci::kBaseGain);
    const bench::LoudnessSummary summary = bench::PrintLoudness(rows);
    std::printf("  %d files played (%d refused by the device as not songs, silent ones left "
                "out)\n",
                static_cast<int>(rows.size()), unplayable);
    std::printf("  Median peak of the songs: before %.1f dBFS, after %.1f dBFS; loudest file "
                "after: %.1f dBFS\n",
                summary.medianMusicBeforeDb, summary.medianMusicDb, summary.loudestDb);
    std::printf("  Files reaching 0 dBFS (clipping): before %d, after %d; files the limiter "
                "turns down: %d\n",
                summary.clippingBefore, summary.clipping, summary.limited);
    std::printf("  Base gain that would put the median song at -6 dBFS: %.2f\n",
                summary.gainForMinus6);
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fputs("usage: module_bench [--soundfont PATH] [--fixtures DIR]\n", stderr);
        return 2;
    }
    char pattern[] = "/tmp/sonolux-module-bench-XXXXXX";
    if (!::mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string folder = pattern;
    int status = 0;
    try {
        std::printf("Module benchmark: %s, 44100 Hz\n\n",
                    platform::ExtractFileName(options.soundFont).c_str());
        PrintParts(options, folder);
        PrintLevels(options, folder);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "module_bench: %s\n", error.what());
        status = 1;
    }
    std::remove((folder + "/module.mid").c_str());
    std::remove((folder + "/band.mid").c_str());
    ::rmdir(folder.c_str());
    return status;
}
