// sonolux-render: renders a MIDI file (.mid, .rmi) to a 16-bit stereo WAV file offline,
// through the player's own sequencer device and FluidSynth output, with the device
// settings the player uses.

#include "devicesettings.h"
#include "offlinerender.h"

#include "platform/files.h"
#include "platform/mci/loops.h"
#include "platform/mci/mcierror.h"
#include "platform/mci/outputconfig.h"
#include "tools/cli/commandline.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char *kHelp =
    "usage: sonolux-render [OPTION...] [--] IN.mid OUT.wav\n"
    "Renders a MIDI file (.mid .rmi) to a 16-bit stereo WAV file through FluidSynth,\n"
    "faster than real time, as the Sono Lux player would play it.\n"
    "\n"
    "  -s SOUNDFONT     the SoundFont to play with (default: the one the device settings\n"
    "                   name, else the first General MIDI one installed)\n"
    "  -r RATE          sample rate in Hz, 8000 to 192000 (default 44100)\n"
    "  --midimap FILE   the device settings to use (default: the player's midimap.ini,\n"
    "                   beside the program or in ~/.config/sonolux/ when installed)\n"
    "  --loops N        play a song's loop section N times (0 to 99), then fade it out\n"
    "                   over 8 seconds; 0 plays it once as written (default: Loops in\n"
    "                   the device settings)\n"
    "  --no-reverb      render without FluidSynth's reverb\n"
    "  --no-chorus      render without FluidSynth's chorus\n"
    "  --help           show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "Exit status: 0 rendered, 1 the song, the settings or the WAV file failed,\n"
    "2 wrong arguments.\n";

int Usage()
{
    std::fputs("usage: sonolux-render [OPTION...] [--] IN.mid OUT.wav\n"
               "Try 'sonolux-render --help' for more information.\n",
               stderr);
    return kExitUsage;
}

struct Arguments
{
    render::RenderOptions options;
    int loops = -1; // -1: as the device settings say
    std::string midimap;
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

bool ParseLoops(const std::string &text, int &loops)
{
    char *end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 0 || value > mci::kMaxLoops)
        return false;
    loops = static_cast<int>(value);
    return true;
}

// One option at argv[i] (moving i past its value); false when it is unknown or lacks a
// value.
bool ParseOption(int argc, char **argv, int &i, Arguments &args)
{
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "-s" && hasValue)
        args.options.soundFont = argv[++i];
    else if (arg == "-r" && hasValue)
        return ParseRate(argv[++i], args.options.sampleRate);
    else if (arg == "--midimap" && hasValue)
        args.midimap = argv[++i];
    else if (arg == "--loops" && hasValue)
        return ParseLoops(argv[++i], args.loops);
    else if (arg == "--no-reverb")
        args.options.reverb = false;
    else if (arg == "--no-chorus")
        args.options.chorus = false;
    else
        return false;
    return true;
}

bool Parse(int argc, char **argv, Arguments &args)
{
    std::vector<std::string> files;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options && arg == "--")
            options = false;
        else if (options && toolcli::IsOption(arg)) {
            if (!ParseOption(argc, argv, i, args))
                return false;
        } else
            files.push_back(arg);
    }
    if (files.size() != 2)
        return false;
    args.input = files[0];
    args.output = files[1];
    args.options.maxTailFrames = 10LL * args.options.sampleRate;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const toolcli::InfoRequest info = toolcli::FindInfoRequest(argc, argv);
    if (info != toolcli::InfoRequest::None)
        return toolcli::AnswerInfoRequest(info, "sonolux-render", kHelp);
    Arguments args;
    if (!Parse(argc, argv, args))
        return Usage();
    try {
        const mci::OutputConfig settings =
            render::ReadDeviceSettings(platform::ProgramFolder(), args.midimap);
        if (args.options.soundFont.empty())
            args.options.soundFont = mci::ResolveSoundFont(settings);
        args.options.gainDb = settings.gainDb;
        args.options.loops = args.loops >= 0 ? args.loops : settings.loops;
        render::RenderToWav(args.input, args.output, args.options);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return kExitFailed;
    }
    return 0;
}
