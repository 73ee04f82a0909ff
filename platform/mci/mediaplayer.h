#pragma once
// The MIDI sequencer device behind the player's MediaPlayer1.
//
// TMediaPlayer plays one open element (a Standard MIDI File or a RIFF RMID file) through
// the output chosen in the device's own file "midimap.ini" (FluidSynth, an ALSA sequencer
// port, or no sound), or through an output handed to it (the tests' silent output on a
// virtual clock). What the player may rely on:
//  - Open closes the element that was open, then opens FileName; on failure it throws
//    EMCIDeviceError with the device's message text and no element is open (mode not ready).
//  - Open leaves the time format at the device's default unit; SetTimeFormat switches it.
//  - Play returns at once and the element then advances on its own; at position = length
//    it first rewinds to the start (AutoRewind).
//  - Pause and Stop keep the position; a later Play continues from there.
//  - Seek stops the device at the given position (in the current time format).
//  - Position equals Length exactly once the element has played to its end, and the mode
//    is then stopped.
//  - Every sounding note is silenced by Pause, Stop, Seek, Close and Open.
//  - Requests other than Open do nothing while no element is open.
// All requests come from one thread (the user-interface thread).
//
// Units. Milliseconds: Position is rounded down and Length rounded up, so the two are
// equal only at the very end. The default unit is the file's own tick (of its quarter
// note, or of its SMPTE frame): Length is the tick of the last End of Track and Position
// the last tick reached. Either way, the time behind them is the song's exact time by its
// tempo map, kept in nanoseconds.
//
// Seeking (and the automatic rewind) makes the next Play chase: the output is reset and
// what the song set up before the new position (system-exclusive messages, programs and
// banks, controllers, RPN/NRPN values, pitch bend, channel pressure) is sent before the
// song goes on (see chase.h). Pause then Play continues without a chase.

#include "platform/mci/lyrics.h"
#include "platform/mci/mcierror.h" // EMCIDeviceError

#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace mci {

// Sequencer modes as the status request numbers them.
enum TMPModes : int {
    mpNotReady = 0,
    mpStopped = 1,
    mpPlaying = 2,
    mpRecording = 3,
    mpSeeking = 4,
    mpPaused = 5,
    mpOpen = 6
};

enum class TMPTimeFormats {
    tfDefault,      // the device's own unit for the element (see TimeFormat)
    tfMilliseconds, // milliseconds
};

class MidiOutput;

class TMediaPlayer
{
public:
    // A device whose output is read from "midimap.ini" in configFolder at each Open (see
    // outputconfig.h); the output is made again only when that file's choice changed.
    explicit TMediaPlayer(std::string configFolder);
    // A device on the given output (tests: the silent output on a virtual clock).
    explicit TMediaPlayer(std::shared_ptr<MidiOutput> output);
    ~TMediaPlayer();
    TMediaPlayer(const TMediaPlayer &) = delete;
    TMediaPlayer &operator=(const TMediaPlayer &) = delete;

    // The file to open; empty until set. Setting it does not open anything.
    const std::string &FileName() const;
    void SetFileName(const std::string &fileName);

    void Open();  // throws EMCIDeviceError
    void Close(); // no element open afterwards; FileName is kept

    TMPTimeFormats TimeFormat() const;
    void SetTimeFormat(TMPTimeFormats format);

    void Play();
    void Pause();
    void Stop();
    void Rewind();                    // seek to the start
    void Seek(std::int64_t position); // in the current time format, clamped to 0..Length

    std::int64_t Length() const;   // of the open element, in the current time format; 0 when none
    std::int64_t Position() const; // in the current time format; 0 when none
    TMPModes Mode() const;         // mpNotReady when no element is open

    bool AutoRewind() const;
    void SetAutoRewind(bool autoRewind);

    // Waits, sleeping rather than spinning, until the element has played to its end or
    // timeout has passed. True when it ended. On a virtual clock the wait advances it.
    // While not playing it returns at once: true when the element stands at its end.
    bool WaitForEnd(std::chrono::milliseconds timeout);

    // The user's volume (the desktop's volume for the player), 0 to 1 in amplitude, 1 at
    // first. A device on midimap.ini keeps it there (Volume), reads it back when it is
    // made and gives it to its output, with the file's Gain, at every Open; SetVolume
    // gives it at once. The FluidSynth output scales its level by them, also while it
    // plays; the other outputs ignore them. Values out of range are clamped, NaN is
    // ignored. SetVolume throws platform::ProfileError when the file cannot be written,
    // and the volume then stays as it was.
    double Volume() const;
    void SetVolume(double volume);

    // Loops: how many times a song's loop section plays before the song fades out and
    // ends (see loops.h), 0 for off (the default), at most kMaxLoops (values beyond are
    // clamped). It applies to the songs opened from then on: Length, Position, Seek, the
    // chase, the end and the lyrics all follow the longer time line; a song without a
    // loop section plays as it would with loops off. A device on midimap.ini takes it
    // from the file's [Playback] Loops at every Open.
    int Loops() const;
    void SetLoops(int loops);

    // The open song's lyrics (see lyricreader.h), on the time line of Position (with
    // loops, the lyrics of the loop section come again with each pass); empty when no
    // element is open or the song has none.
    const SongLyrics &Lyrics() const;
    // What is being sung ms milliseconds into the open song (the time line of Position in
    // milliseconds): LyricAt(Position()) is what to show now. Nothing (Active() false)
    // before the first line, between lines, after the last and without lyrics.
    LyricProgress LyricAt(std::int64_t ms) const;

    // Starts loading, in the background, what the output chosen in configFolder's
    // "midimap.ini" takes long to load (the FluidSynth SoundFont), so that the first Open
    // need not wait for it. Returns at once; call it at program start. Problems are not
    // reported here but by the Open that needs the output.
    static void Preload(const std::string &configFolder);

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace mci
