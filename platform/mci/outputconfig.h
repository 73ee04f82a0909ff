#pragma once
// The device's own settings file "midimap.ini" (beside the program, not in the player's
// settings), which says where the device plays:
//
//     [Output]
//     Device=fluidsynth      ; "fluidsynth", "alsa", or "none" for no sound
//     Port=                  ; ALSA: a port as client:port ("128:0") or by name ("TiMidity:0")
//     SoundFont=             ; FluidSynth: a SoundFont path; empty for the first GM one installed
//     AudioDriver=           ; FluidSynth: a driver name; empty for PulseAudio (which
//                            ; PipeWire also serves), then ALSA
//     Gain=                  ; FluidSynth: decibels added to its output level ("-3", "+2.5");
//                            ; empty or not a number 0, kept within -40 to +20
//     Volume=                ; FluidSynth: the desktop's volume for the player in per cent
//                            ; ("72.5"); written by the device (TMediaPlayer::SetVolume)
//
//     [Playback]
//     Loops=                 ; how many times a song's loop section plays before the song
//                            ; fades out (see loops.h); 0, empty or not a number: off;
//                            ; at most 99
//
// For ALSA, Port may name one port per song port, separated by commas ("SC-88Pro:0,
// SC-88Pro:1" for a song's ports A and B).
// With no file, or no Device, the device uses FluidSynth with the first GM SoundFont
// installed.

#include "platform/mci/midioutput.h"

#include <memory>
#include <string>
#include <vector>

namespace mci {

constexpr const char *kMidiMapFileName = "midimap.ini";
constexpr const char *kDeviceFluidSynth = "fluidsynth";
constexpr const char *kDeviceAlsa = "alsa";
constexpr const char *kDeviceNone = "none";
constexpr int kLiveSampleRate = 44100;

struct OutputConfig
{
    std::string device; // as written; empty means fluidsynth
    std::string port;
    std::string soundFont;
    std::string audioDriver;
    double gainDb = 0; // Gain, as ParseGainDb reads it
    int loops = 0;     // [Playback] Loops, as ParseLoops reads it

    bool operator==(const OutputConfig &other) const;
    bool operator!=(const OutputConfig &other) const { return !(*this == other); }
};

// True when a and b choose the same output (all but the level, which an output takes
// while it plays, and the loops, which the device applies to the songs it opens).
bool SameOutput(const OutputConfig &a, const OutputConfig &b);

// Reads "midimap.ini" in configFolder; a missing file or key reads as empty (Gain and
// Loops as 0).
OutputConfig ReadOutputConfig(const std::string &configFolder);
// The same for the settings file at path, whatever its name.
OutputConfig ReadOutputConfigFile(const std::string &path);
// Writes Device, Port, SoundFont and AudioDriver to "midimap.ini" in configFolder, keeping
// every other line of the file (Gain, Volume and Loops among them). Throws
// platform::ProfileError when the file cannot be written (the file is then as it was).
void WriteOutputConfig(const std::string &configFolder, const OutputConfig &config);
// Writes [Playback] Loops (kept within 0 to kMaxLoops), keeping every other line; throws
// as WriteOutputConfig does. Apart from the output's keys, so that choosing an output
// never resets it.
void WriteLoops(const std::string &configFolder, int loops);

// The Volume key as 0 to 1 (1 when missing or not a number, see ParseVolume), and writing
// it (throws platform::ProfileError as WriteOutputConfig does).
double ReadVolume(const std::string &configFolder);
void WriteVolume(const std::string &configFolder, double volume);

// The SoundFont the FluidSynth output of config uses: its own, else the default one;
// empty when there is none.
std::string ResolveSoundFont(const OutputConfig &config);

// A new output for config (not yet prepared). Throws EMCIDeviceError for an unknown
// device name or, for FluidSynth, when no SoundFont is set and none is installed.
std::shared_ptr<MidiOutput> CreateOutput(const OutputConfig &config);

// One output the device can use, for a settings page to offer.
struct OutputChoice
{
    OutputConfig config;     // what to write to "midimap.ini" to choose it
    std::string description; // e.g. "FluidSynth: FluidR3_GM.sf2", "ALSA: TiMidity port 0 (128:0)"
};

// FluidSynth with each SoundFont installed, each ALSA sequencer port that takes output
// (writable and subscribable; none when the sequencer cannot be opened), and no sound.
std::vector<OutputChoice> ListOutputs();

} // namespace mci
