#include "platform/mci/silentoutput.h"

#include "platform/mci/silence.h"

#include <algorithm>
#include <stdexcept>

namespace mci {

SilentOutput::SilentOutput(std::shared_ptr<Clock> clock)
    : SilentOutput(std::move(clock), Options())
{
}

SilentOutput::SilentOutput(std::shared_ptr<Clock> clock, Options options)
    : clock_(std::move(clock))
    , options_(options)
{
    if (!clock_)
        throw std::invalid_argument("SilentOutput needs a clock");
}

void SilentOutput::Advance(std::chrono::nanoseconds step)
{
    auto *virtualClock = dynamic_cast<VirtualClock *>(clock_.get());
    if (!virtualClock)
        throw std::logic_error("only a virtual clock can be moved by hand");
    virtualClock->Advance(step);
}

std::vector<LoggedEvent> SilentOutput::Log()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    CatchUpLocked();
    return log_;
}

void SilentOutput::ClearLog()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    CatchUpLocked();
    log_.clear();
}

void SilentOutput::Start(PlayRequest request)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    CatchUpLocked();
    if (playing_ || !request.song)
        return;
    playing_ = true;
    ended_ = false;
    startNs_ = request.startNs;
    startClockNs_ = clock_->Now().count();
    lengthNs_ = request.song->lengthNs;
    cursor_ = PlaybackCursor(std::move(request.song), request.firstEvent);
    RecordDeviceLocked(startNs_, request.prelude);
    CatchUpLocked();
}

std::int64_t SilentOutput::Halt()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    CatchUpLocked();
    if (!playing_)
        return 0;
    playing_ = false;
    if (ended_)
        return lengthNs_;
    const std::int64_t position = SongNowLocked();
    RecordDeviceLocked(position, SilenceMessages(cursor_.Sounding()));
    cursor_ = PlaybackCursor();
    return position;
}

std::int64_t SilentOutput::PositionNs() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!playing_)
        return 0;
    return EndedLocked() ? lengthNs_ : std::min(SongNowLocked(), lengthNs_ - 1);
}

bool SilentOutput::Ended() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return EndedLocked();
}

bool SilentOutput::WaitForEnd(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!playing_)
        return false;
    const std::int64_t deadline = DeadlineNs(clock_->Now().count(), timeout);
    const std::int64_t end = startClockNs_ + (lengthNs_ - startNs_);
    lock.unlock();
    clock_->WaitUntil(std::chrono::nanoseconds(std::min(end, deadline)));
    lock.lock();
    CatchUpLocked();
    return EndedLocked();
}

std::int64_t SilentOutput::SongNowLocked() const
{
    return startNs_ + (clock_->Now().count() - startClockNs_);
}

bool SilentOutput::EndedLocked() const
{
    return playing_ && (ended_ || SongNowLocked() >= lengthNs_);
}

void SilentOutput::CatchUpLocked()
{
    if (!playing_ || ended_)
        return;
    const std::int64_t songNow = SongNowLocked();
    const Song &song = *cursor_.GetSong();
    while (!cursor_.Done()) {
        const std::int64_t eventNs = cursor_.EventNs();
        if (eventNs > songNow)
            return;
        const std::int64_t tick = cursor_.Event().tick;
        RecordLocked(startClockNs_ + (eventNs - startNs_), eventNs,
                     song.tempo.TickToSample(tick, options_.sampleRate), tick, cursor_.Message());
        cursor_.Advance();
    }
    if (songNow >= lengthNs_) {
        ended_ = true;
        const std::int64_t endClock = startClockNs_ + (lengthNs_ - startNs_);
        ForEachOnPort(NoteOffMessages(cursor_.Sounding()), [&](MessageView m) {
            RecordLocked(endClock, lengthNs_, NsToSample(lengthNs_, options_.sampleRate), -1, m);
        });
        cursor_.Sounding().Clear();
    }
}

void SilentOutput::RecordLocked(std::int64_t clockNs, std::int64_t songNs, std::int64_t songSample,
                                std::int64_t tick, MessageView message)
{
    if (options_.keepLog)
        log_.push_back(LoggedEvent{clockNs, songNs, songSample, tick,
                                   MidiMessage(message.data, message.data + message.size),
                                   message.port});
}

void SilentOutput::RecordDeviceLocked(std::int64_t songNs, const std::vector<MidiMessage> &messages)
{
    const std::int64_t now = clock_->Now().count();
    const std::int64_t sample = NsToSample(songNs, options_.sampleRate);
    ForEachOnPort(messages, [&](MessageView m) { RecordLocked(now, songNs, sample, -1, m); });
}

} // namespace mci
