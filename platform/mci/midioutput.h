#pragma once
// Where the device's messages go. An output plays a song on its own clock: the FluidSynth
// output by the samples it renders, the ALSA output by its sequencer queue, the silent
// output by a Clock it is given. TMediaPlayer drives it from the user-interface thread;
// an output may dispatch on a thread of its own and guards what the two share.

#include "platform/mci/midimessage.h"
#include "platform/mci/song.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace mci {

// What to play: a song from a point, after some messages of the device's own.
struct PlayRequest
{
    std::shared_ptr<const Song> song;
    std::int64_t startNs = 0;         // song time to start from, 0 to song->lengthNs
    std::size_t firstEvent = 0;       // the first event at or after startNs
    std::vector<MidiMessage> prelude; // a device list (see PortSelect) sent in order just
                                      // before: output reset, chase
};

class MidiOutput
{
public:
    virtual ~MidiOutput() = default;

    // Makes the output ready to play; called at every Open, cheap when it already is.
    // Throws EMCIDeviceError with a message saying what is missing (no audio device, no
    // SoundFont, no sequencer port, ...).
    virtual void Prepare() = 0;

    // Starts playing and returns at once; the output must not be playing. The output
    // then sends each event at its time on the output's clock, counted from the moment
    // it starts, and stops by itself at the song's end: it then switches off the notes
    // the song left on (note-offs only) and reports Ended().
    virtual void Start(PlayRequest request) = 0;

    // Stops playing and returns the song time reached, in nanoseconds (at most the
    // song's length). Unless the song had ended, every sounding note is silenced (see
    // SilenceMessages). Nothing happens, and 0 is returned, when the output is not playing.
    virtual std::int64_t Halt() = 0;

    // While playing: the song time reached, in nanoseconds; the song's length once
    // Ended(). Callable from any thread.
    virtual std::int64_t PositionNs() const = 0;

    // True once the song has played to its end since Start. Callable from any thread.
    virtual bool Ended() const = 0;

    // Waits until Ended(), a Halt, or until timeout has passed, blocked on a condition the
    // output signals (or, on a virtual clock, moving the clock); true when the song ended.
    // False at once when not playing.
    virtual bool WaitForEnd(std::chrono::milliseconds timeout) = 0;

    // The user's level for the output to play at from now on (also while playing): gainDb
    // decibels (midimap.ini's Gain) and volume, 0 to 1 in amplitude (the desktop's volume
    // for the player). Only the FluidSynth output has a level of its own; the others send
    // every message unchanged and leave the level to what they play to.
    virtual void SetLevel(double gainDb, double volume)
    {
        static_cast<void>(gainDb);
        static_cast<void>(volume);
    }
};

} // namespace mci
