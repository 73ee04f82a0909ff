#pragma once
// The ALSA sequencer output: plays to any sequencer port (a hardware module behind a MIDI
// interface, or another program), or to one port per song port (an SC-88's inputs A and B):
// each song port gets a port of the device's own, connected to the port named for it. Events are
// handed to a sequencer queue up to a fifth of a second ahead of their time, stamped with their
// exact real time, by a thread of the output's own; the queue's clock is the song's.
// System-exclusive messages are paced at the MIDI cable's rate so that a module is never flooded,
// and a module's reset message met while chasing is given 50 ms before anything follows it.

#include "platform/mci/alsaschedule.h"
#include "platform/mci/midioutput.h"
#include "platform/mci/playbackcursor.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mci {

class AlsaOutput final : public MidiOutput
{
public:
    static constexpr std::int64_t kLookAheadNs = 200000000;
    static constexpr std::int64_t kResetPauseNs = 50000000;

    // port as in midimap.ini: one port (see ResolveAlsaPort), or one per song port
    // separated by commas (see SplitPortList); song ports beyond those go to the first.
    explicit AlsaOutput(std::string port);
    ~AlsaOutput() override;

    // Opens the sequencer, makes the device's client, ports and queue and connects to the
    // ports named. Throws EMCIDeviceError when the sequencer cannot be opened or a port
    // is not there.
    void Prepare() override;
    void Start(PlayRequest request) override;
    std::int64_t Halt() override;
    std::int64_t PositionNs() const override;
    bool Ended() const override;
    bool WaitForEnd(std::chrono::milliseconds timeout) override;

    // The ports connected to, as "client:port" separated by commas; empty before Prepare.
    std::string ConnectedPort() const;

private:
    enum class Phase { idle, playing, ended };

    void Open();
    void ConnectPort(const std::string &name);
    void Close();
    void FeedLoop();
    void FeedLocked();
    std::int64_t QueueNowLocked() const;
    std::int64_t SongNowLocked() const;
    int OutputLocked(MessageView message, std::int64_t queueNs); // queueNs < 0: at once
    void SchedulePreludeLocked(const std::vector<MidiMessage> &prelude);

    const std::string portName_;
    snd_seq_t *seq_ = nullptr;
    std::vector<int> ports_; // the device's own, one per song port connected
    int queue_ = -1;
    std::string connected_;

    mutable std::mutex mutex_; // the feeding thread against the transport calls
    std::condition_variable wake_;
    std::condition_variable endOrHalt_; // with mutex_: the song ended or was halted
    std::thread feeder_;
    bool quit_ = false;
    Phase phase_ = Phase::idle;
    PlaybackCursor cursor_;
    QueuedNotes queued_;
    SysExPacer pacer_;
    std::int64_t startNs_ = 0;
    std::int64_t songOffsetNs_ = 0; // queue time at which the song plays startNs_
    std::int64_t lengthNs_ = 0;
    std::int64_t endQueueNs_ = 0;
    bool endQueued_ = false;
    std::atomic<bool> active_{false};
    std::atomic<bool> ended_{false};
};

} // namespace mci
