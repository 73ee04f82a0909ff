// The sequencer benchmark: renders test songs of short percussive notes at known, off-grid
// times through the device (offline FluidSynth output) and through the fluidsynth
// command-line player's fast render, in the same run, and prints how exactly each places
// its notes, what each costs, how soon a song starts and how much memory it takes.

#include "fluidsynthcli.h"
#include "onsetstats.h"
#include "testsongs.h"

#include "tools/sonolux-render/offlinerender.h"
#include "tools/sonolux-render/onsets.h"
#include "tools/sonolux-render/wavfile.h"

#include "platform/files.h"
#include "platform/mci/silentoutput.h"
#include "platform/mci/smfwriter.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <sys/resource.h>

namespace {

constexpr int kRate = 44100;

double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

struct Options
{
    std::string soundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    bool keep = false;
};

render::RenderOptions RenderOptionsFor(const Options &options)
{
    render::RenderOptions render;
    render.soundFont = options.soundFont;
    render.sampleRate = kRate;
    render.reverb = false;
    render.chorus = false;
    render.maxTailFrames = kRate;
    return render;
}

struct EngineResult
{
    bench::OnsetStats onsets;
    double cpuPerSecond = 0; // CPU seconds per second of audio
    bool ok = false;
    std::string error;
};

// Renders a song through the device into wav; the CPU time per second of audio.
double RenderWithDevice(const std::string &midi, const std::string &wav, const Options &options)
{
    const double before = ProcessCpuSeconds();
    const std::int64_t frames = render::RenderToWav(midi, wav, RenderOptionsFor(options));
    return (ProcessCpuSeconds() - before) / (static_cast<double>(frames) / kRate);
}

void PrintOnsets(const char *engine, const EngineResult &r)
{
    if (!r.ok) {
        std::printf("    %-16s %s\n", engine, r.error.c_str());
        return;
    }
    std::printf("    %-16s largest %4lld   mean %6.1f   range %5lld to %4lld   first %4lld   "
                "last %4lld   (%d notes, %d missed)\n",
                engine, static_cast<long long>(r.onsets.largest), r.onsets.mean,
                static_cast<long long>(r.onsets.lowest), static_cast<long long>(r.onsets.highest),
                static_cast<long long>(r.onsets.first), static_cast<long long>(r.onsets.last),
                r.onsets.notes, r.onsets.missed);
}

// How long from Open until the first sound of a song, with the SoundFont loaded already:
// rendering block by block as an audio driver asks for it, as fast as the machine goes.
double OpenToFirstNoteMs(const std::string &first, const std::string &second,
                         const Options &options)
{
    mci::FluidOutput::Options fluid;
    fluid.soundFont = options.soundFont;
    fluid.offline = true;
    auto output = std::make_shared<mci::FluidOutput>(fluid);
    mci::TMediaPlayer player(output);
    player.SetFileName(first);
    player.Open(); // loads the SoundFont, if it was not yet
    float left[64], right[64];
    const auto start = std::chrono::steady_clock::now();
    player.SetFileName(second);
    player.Open();
    player.Play();
    for (int block = 0; block < kRate; ++block) {
        output->Render(left, right, 64);
        for (int i = 0; i < 64; ++i)
            if (std::fabs(left[i]) > 0 || std::fabs(right[i]) > 0)
                return MillisecondsSince(start);
    }
    return -1;
}

double OpenMs(const std::string &song, int loops = 0)
{
    mci::TMediaPlayer player(std::make_shared<mci::SilentOutput>());
    player.SetLoops(loops);
    player.SetFileName(song);
    const auto start = std::chrono::steady_clock::now();
    player.Open();
    return MillisecondsSince(start);
}

bool Parse(int argc, char **argv, Options &options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--soundfont" && i + 1 < argc)
            options.soundFont = argv[++i];
        else if (arg == "--keep")
            options.keep = true;
        else
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fputs("usage: sequencer_bench [--soundfont PATH] [--keep]\n", stderr);
        return 2;
    }
    char pattern[] = "/tmp/sonolux-bench-XXXXXX";
    if (!::mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string folder = pattern;
    const auto path = [&](const std::string &name) { return folder + "/" + name; };

    try {
        const bench::TestSong calibration = bench::CalibrationSong();
        const bench::TestSong steady = bench::SteadySong();
        const bench::TestSong tempo = bench::TempoChangeSong();
        const bench::TestSong dense = bench::DenseSong();
        const bench::TestSong game = bench::GameSong();
        mci::SmfWriter emptyWriter(480, 0);
        emptyWriter.EndAt(1);
        for (const auto &[name, bytes] : std::vector<std::pair<std::string, std::string>>{
                 {"calibration.mid", calibration.bytes},
                 {"steady.mid", steady.bytes},
                 {"tempo.mid", tempo.bytes},
                 {"dense.mid", dense.bytes},
                 {"game.mid", game.bytes},
                 {"empty.mid", emptyWriter.Bytes()}})
            platform::WriteFileAtomic(path(name), bytes);

        std::printf("Sequencer benchmark: %s, %d Hz, reverb and chorus off\n",
                    platform::ExtractFileName(options.soundFont).c_str(), kRate);

        // The SoundFont load, then the sound's own attack from a note on a block start.
        auto start = std::chrono::steady_clock::now();
        const render::StereoAudio probe =
            render::RenderToMemory(path("calibration.mid"), RenderOptionsFor(options));
        const double loadMs = MillisecondsSince(start);
        const std::vector<std::int64_t> probeOnsets =
            render::DetectOnsets(probe.left, bench::OnsetThreshold(probe.left), kRate / 20);
        if (probeOnsets.size() != 2)
            throw std::runtime_error("the calibration note was not found");
        const std::int64_t attack = probeOnsets[1] - bench::kCalibrationSample;
        std::printf("SoundFont loaded and calibration song rendered in %.0f ms; the sound crosses "
                    "the onset threshold %lld samples into a note\n\n",
                    loadMs, static_cast<long long>(attack));

        // The device first, so that its peak memory is its own and not the analysis's.
        const std::vector<const bench::TestSong *> songs = {&steady, &tempo};
        const std::vector<std::string> midis = {path("steady.mid"), path("tempo.mid")};
        std::vector<EngineResult> device(songs.size()), cli(songs.size());
        for (std::size_t i = 0; i < songs.size(); ++i) {
            device[i].cpuPerSecond = RenderWithDevice(midis[i], midis[i] + ".device.wav", options);
            device[i].ok = true;
        }
        const double firstNoteMs =
            OpenToFirstNoteMs(path("calibration.mid"), path("steady.mid"), options);
        const double openTempoMs = OpenMs(path("tempo.mid"));
        const double openDenseMs = OpenMs(path("dense.mid"));
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const double devicePeakMb = usage.ru_maxrss / 1024.0;
        // After the peak memory: the song unrolled 99 times holds millions of events.
        const double openGameMs[3] = {OpenMs(path("game.mid")), OpenMs(path("game.mid"), 2),
                                      OpenMs(path("game.mid"), 99)};

        const bench::CliRender empty = bench::RenderWithFluidSynth(
            options.soundFont, path("empty.mid"), path("empty.wav"), kRate);
        for (std::size_t i = 0; i < songs.size(); ++i) {
            const bench::CliRender run = bench::RenderWithFluidSynth(
                options.soundFont, midis[i], midis[i] + ".fluidsynth.wav", kRate);
            cli[i].ok = run.ok && empty.ok;
            cli[i].error = run.ok ? empty.error : run.error;
            if (!cli[i].ok)
                continue;
            const std::vector<float> mono =
                render::MixToMono(render::ReadWav(midis[i] + ".fluidsynth.wav"));
            cli[i].cpuPerSecond =
                (run.cpuSeconds - empty.cpuSeconds) / (static_cast<double>(mono.size()) / kRate);
            cli[i].onsets = bench::MeasureOnsets(mono, *songs[i], kRate, attack);
        }
        for (std::size_t i = 0; i < songs.size(); ++i)
            device[i].onsets =
                bench::MeasureOnsets(render::MixToMono(render::ReadWav(midis[i] + ".device.wav")),
                                     *songs[i], kRate, attack);

        std::printf("Onset error in samples (onset - exact time by the tempo map; FluidSynth "
                    "applies events every 64 samples):\n");
        for (std::size_t i = 0; i < songs.size(); ++i) {
            std::printf("  %s (%zu notes, %d tempo changes, %.1f s)\n", songs[i]->name.c_str(),
                        songs[i]->ticks.size(), songs[i]->tempoChanges,
                        static_cast<double>(songs[i]->song.lengthNs) / 1e9);
            PrintOnsets("Sonolux device", device[i]);
            PrintOnsets("fluidsynth -F", cli[i]);
        }

        std::printf("\nCPU time per second of audio, rendering to a WAV file (fluidsynth: less "
                    "its start-up, %.0f ms):\n",
                    empty.cpuSeconds * 1000);
        for (std::size_t i = 0; i < songs.size(); ++i) {
            std::printf("  %-28s Sonolux %.3f ms", songs[i]->name.c_str(),
                        device[i].cpuPerSecond * 1000);
            if (cli[i].ok)
                std::printf("   fluidsynth %.3f ms   (Sonolux %+.1f %%)",
                            cli[i].cpuPerSecond * 1000,
                            (device[i].cpuPerSecond / cli[i].cpuPerSecond - 1) * 100);
            std::printf("\n");
        }

        std::printf("\nOpen to first rendered note of a second song (SoundFont loaded): %.2f ms "
                    "(live, the audio period of 512 frames, 11.6 ms, comes on top)\n",
                    firstNoteMs);
        std::printf("Open of a later song: %s %.2f ms; %s, %zu events, %.2f ms\n",
                    tempo.name.c_str(), openTempoMs, dense.name.c_str(), dense.song.events.size(),
                    openDenseMs);
        std::printf("Open of %s, %zu events: %.2f ms with loops off, %.2f ms at Loops=2, "
                    "%.2f ms at Loops=99\n",
                    game.name.c_str(), game.song.events.size(), openGameMs[0], openGameMs[1],
                    openGameMs[2]);
        std::printf("Peak memory: Sonolux device %.1f MB (with the SoundFont)", devicePeakMb);
        if (empty.ok)
            std::printf(", fluidsynth %.1f MB", empty.peakMemoryKb / 1024.0);
        std::printf("\n");
    } catch (const std::exception &error) {
        std::fprintf(stderr, "sequencer_bench: %s\n", error.what());
        if (!options.keep)
            std::filesystem::remove_all(folder);
        return 1;
    }
    if (options.keep)
        std::printf("Files kept in %s\n", folder.c_str());
    else
        std::filesystem::remove_all(folder);
    return 0;
}
