// sonolux-render: renders a MIDI file (.mid, .rmi) to a 16-bit stereo WAV file offline,
// through the player's own sequencer device and FluidSynth output.

#include "offlinerender.h"

#include "platform/files.h"
#include "platform/mci/mcierror.h"
#include "platform/mci/outputconfig.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int Usage()
{
    std::fputs("usage: sonolux-render [-s SOUNDFONT] [-r RATE] [--no-reverb] [--no-chorus] "
               "IN.mid OUT.wav\n"
               "  -s SOUNDFONT  the SoundFont to play with (default: the one midimap.ini\n"
               "                beside the program names, else the first GM one installed)\n"
               "  -r RATE       sample rate in Hz, 8000 to 192000 (default 44100)\n",
               stderr);
    return kExitUsage;
}

struct Arguments
{
    render::RenderOptions options;
    std::string input;
    std::string output;
};

bool ParseRate(const std::string &text, int &rate)
{
    char *end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 8000 || value > 192000)
        return false;
    rate = static_cast<int>(value);
    return true;
}

bool Parse(int argc, char **argv, Arguments &args)
{
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-s" && i + 1 < argc) {
            args.options.soundFont = argv[++i];
        } else if (arg == "-r" && i + 1 < argc) {
            if (!ParseRate(argv[++i], args.options.sampleRate))
                return false;
        } else if (arg == "--no-reverb") {
            args.options.reverb = false;
        } else if (arg == "--no-chorus") {
            args.options.chorus = false;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return false;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2)
        return false;
    args.input = files[0];
    args.output = files[1];
    args.options.maxTailFrames = 10LL * args.options.sampleRate;
    const mci::OutputConfig settings = mci::ReadOutputConfig(platform::ProgramFolder());
    if (args.options.soundFont.empty())
        args.options.soundFont = mci::ResolveSoundFont(settings);
    args.options.gainDb = settings.gainDb;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    Arguments args;
    if (!Parse(argc, argv, args))
        return Usage();
    try {
        render::RenderToWav(args.input, args.output, args.options);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return kExitFailed;
    }
    return 0;
}
