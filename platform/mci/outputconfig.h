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
//
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

    bool operator==(const OutputConfig &other) const;
    bool operator!=(const OutputConfig &other) const { return !(*this == other); }
};

// Reads "midimap.ini" in configFolder; a missing file or key reads as empty.
OutputConfig ReadOutputConfig(const std::string &configFolder);
// Writes the four keys to "midimap.ini" in configFolder, keeping every other line of the
// file. Throws platform::ProfileError when the file cannot be written (the file is then
// as it was).
void WriteOutputConfig(const std::string &configFolder, const OutputConfig &config);

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
