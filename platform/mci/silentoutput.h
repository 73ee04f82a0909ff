#pragma once
// The silent output: plays a song on a Clock without making a sound and logs every
// message it sends at its exact time. Tests drive it with a VirtualClock:
//
//     auto clock = std::make_shared<mci::VirtualClock>();
//     auto output = std::make_shared<mci::SilentOutput>(clock);
//     mci::TMediaPlayer player(output);
//     ... player.Play(); clock->Advance(std::chrono::milliseconds(999)); player.Position() ...
//
// Nothing moves unless the clock does; the messages due by the clock's time are sent
// (logged) whenever the output is next asked anything. The device's "none" output is one
// of these on the SteadyClock, without a log.

#include "platform/mci/clock.h"
#include "platform/mci/midioutput.h"
#include "platform/mci/playbackcursor.h"

#include <memory>
#include <mutex>
#include <vector>

namespace mci {

struct LoggedEvent
{
    std::int64_t clockNs = 0;    // the clock's time when the message was sent
    std::int64_t songNs = 0;     // the song time it belongs to
    std::int64_t songSample = 0; // songNs as a sample at the output's rate; for a song
                                 // event the exact sample of its tick by the tempo map
    std::int64_t tick = -1;      // the song event's tick; -1 for the device's own
                                 // messages (output reset, chase, silence, end note-offs)
    MidiMessage message;         // never a port select: the port is given apart
    int port = 0;
};

class SilentOutput final : public MidiOutput
{
public:
    struct Options
    {
        int sampleRate = 44100; // the rate of LoggedEvent::songSample
        bool keepLog = true;
    };

    explicit SilentOutput(std::shared_ptr<Clock> clock = std::make_shared<VirtualClock>());
    SilentOutput(std::shared_ptr<Clock> clock, Options options);

    Clock &GetClock() const { return *clock_; }
    // Moves the clock forward when it is a VirtualClock; throws std::logic_error otherwise.
    void Advance(std::chrono::nanoseconds step);

    // Every message sent so far, oldest first (what is due by now is sent first).
    std::vector<LoggedEvent> Log();
    void ClearLog();

    void Prepare() override {}
    void Start(PlayRequest request) override;
    std::int64_t Halt() override;
    std::int64_t PositionNs() const override;
    bool Ended() const override;
    bool WaitForEnd(std::chrono::milliseconds timeout) override;

private:
    std::int64_t SongNowLocked() const;
    bool EndedLocked() const;
    void CatchUpLocked();
    void RecordLocked(std::int64_t clockNs, std::int64_t songNs, std::int64_t songSample,
                      std::int64_t tick, MessageView message);
    void RecordDeviceLocked(std::int64_t songNs, const std::vector<MidiMessage> &messages);

    std::shared_ptr<Clock> clock_;
    const Options options_;
    mutable std::mutex mutex_;
    bool playing_ = false;
    bool ended_ = false;
    std::int64_t startNs_ = 0;      // song time at the start
    std::int64_t startClockNs_ = 0; // clock time at the start
    std::int64_t lengthNs_ = 0;
    PlaybackCursor cursor_;
    std::vector<LoggedEvent> log_;
};

} // namespace mci
