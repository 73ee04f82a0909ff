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
// All requests come from one thread (the user-interface thread).

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

class EMCIDeviceError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class MidiOutput;

class TMediaPlayer
{
public:
    // A device whose output is read from "midimap.ini" in configFolder at each Open.
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
    bool WaitForEnd(std::chrono::milliseconds timeout);

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace mci
