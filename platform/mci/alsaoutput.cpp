#include "platform/mci/alsaoutput.h"

#include "platform/mci/alsaports.h"
#include "platform/mci/chase.h"
#include "platform/mci/clock.h"
#include "platform/mci/mcierror.h"
#include "platform/mci/silence.h"

#include <algorithm>

namespace mci {

namespace {

constexpr std::int64_t kNsPerSecond = 1000000000;
constexpr int kPoolEvents = 2000;
constexpr std::size_t kOutputBufferBytes = 256 * 1024;
constexpr auto kFeedInterval = std::chrono::milliseconds(10);

std::string AlsaText(int error)
{
    return snd_strerror(error);
}

} // namespace

AlsaOutput::AlsaOutput(std::string port)
    : portName_(std::move(port))
{
}

AlsaOutput::~AlsaOutput()
{
    Halt();
    Close();
}

void AlsaOutput::Prepare()
{
    if (!seq_)
        Open();
}

void AlsaOutput::Open()
{
    snd_seq_t *seq = nullptr;
    const int opened = snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK);
    if (opened < 0)
        throw EMCIDeviceError(
            "The ALSA sequencer cannot be opened (" + AlsaText(opened) +
            "). Choose another output on the Output page of the settings window.");
    seq_ = seq;
    try {
        snd_seq_set_client_name(seq_, "Sonolux");
        snd_seq_set_client_pool_output(seq_, kPoolEvents);
        snd_seq_set_output_buffer_size(seq_, kOutputBufferBytes);
        queue_ = snd_seq_alloc_named_queue(seq_, "Sonolux");
        if (queue_ < 0)
            throw EMCIDeviceError("The ALSA sequencer refuses a queue (" + AlsaText(queue_) + ").");
        for (const std::string &name : SplitPortList(portName_))
            ConnectPort(name);
    } catch (...) {
        Close();
        throw;
    }
    quit_ = false;
    feeder_ = std::thread(&AlsaOutput::FeedLoop, this);
}

// Makes the device port for the next song port and connects it to the port named.
void AlsaOutput::ConnectPort(const std::string &name)
{
    const std::string portName =
        std::string("Sonolux port ") + static_cast<char>('A' + ports_.size());
    const int port =
        snd_seq_create_simple_port(seq_, ports_.empty() ? "Sonolux output" : portName.c_str(),
                                   SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                   SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (port < 0)
        throw EMCIDeviceError("The ALSA sequencer refuses a port (" + AlsaText(port) + ").");
    ports_.push_back(port);
    AlsaPort target;
    if (!ResolveAlsaPort(seq_, name, target))
        throw EMCIDeviceError(name.empty()
                                  ? std::string("No ALSA sequencer port takes MIDI output.")
                                  : "The ALSA sequencer port \"" + name + "\" is not there.");
    const int connected = snd_seq_connect_to(seq_, port, target.client, target.port);
    if (connected < 0)
        throw EMCIDeviceError("The ALSA sequencer port " + target.Address() +
                              " cannot be connected (" + AlsaText(connected) + ").");
    connected_ += (connected_.empty() ? "" : ",") + target.Address();
}

void AlsaOutput::Close()
{
    if (feeder_.joinable()) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        feeder_.join();
    }
    if (seq_)
        snd_seq_close(seq_); // also frees the port and the queue
    seq_ = nullptr;
    ports_.clear();
    queue_ = -1;
    connected_.clear();
}

std::string AlsaOutput::ConnectedPort() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return connected_;
}

void AlsaOutput::Start(PlayRequest request)
{
    if (!request.song)
        return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!seq_ || phase_ != Phase::idle)
            return;
        snd_seq_start_queue(seq_, queue_, nullptr); // the queue's clock starts again at 0
        snd_seq_drain_output(seq_);
        pacer_.Reset();
        SchedulePreludeLocked(request.prelude);
        songOffsetNs_ = pacer_.FreeAt();
        startNs_ = request.startNs;
        lengthNs_ = request.song->lengthNs;
        endQueueNs_ = songOffsetNs_ + (lengthNs_ - startNs_);
        endQueued_ = false;
        cursor_ = PlaybackCursor(std::move(request.song), request.firstEvent);
        phase_ = Phase::playing;
        ended_.store(false);
        active_.store(true);
        FeedLocked();
    }
    wake_.notify_all();
}

// The device's own messages go out one after another at the cable's pace, with a pause
// after a module reset.
void AlsaOutput::SchedulePreludeLocked(const std::vector<MidiMessage> &prelude)
{
    ForEachOnPort(prelude, [&](MessageView message) {
        const std::int64_t at = pacer_.Place(0, message.size);
        OutputLocked(message, at);
        if (IsResetSysEx(message))
            pacer_.HoldUntil(pacer_.FreeAt() + kResetPauseNs);
    });
    snd_seq_drain_output(seq_);
}

std::int64_t AlsaOutput::Halt()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (phase_ == Phase::idle || !seq_)
        return 0;
    std::int64_t position = lengthNs_;
    if (phase_ == Phase::playing) {
        snd_seq_stop_queue(seq_, queue_, nullptr);
        snd_seq_drain_output(seq_);
        const std::int64_t now = QueueNowLocked();
        snd_seq_remove_events_t *remove = nullptr;
        snd_seq_remove_events_alloca(&remove);
        snd_seq_remove_events_set_condition(remove, SND_SEQ_REMOVE_OUTPUT);
        snd_seq_remove_events_set_queue(remove, queue_);
        snd_seq_remove_events(seq_, remove);
        snd_seq_drop_output(seq_);
        position = std::clamp(startNs_ + (now - songOffsetNs_), startNs_,
                              std::max<std::int64_t>(lengthNs_ - 1, startNs_));
        queued_.Revert(cursor_.Sounding(), now);
        ForEachOnPort(SilenceMessages(cursor_.Sounding()),
                      [&](MessageView message) { OutputLocked(message, -1); });
        snd_seq_drain_output(seq_);
    }
    phase_ = Phase::idle;
    cursor_ = PlaybackCursor();
    queued_ = QueuedNotes();
    active_.store(false);
    endOrHalt_.notify_all();
    return position;
}

std::int64_t AlsaOutput::PositionNs() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (phase_ == Phase::ended)
        return lengthNs_;
    if (phase_ != Phase::playing)
        return 0;
    return SongNowLocked();
}

bool AlsaOutput::Ended() const
{
    return ended_.load();
}

bool AlsaOutput::WaitForEnd(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(mutex_);
    endOrHalt_.wait_until(lock, SteadyDeadline(timeout),
                          [this] { return !active_.load() || ended_.load(); });
    return ended_.load();
}

void AlsaOutput::FeedLoop()
{
    std::unique_lock<std::mutex> lock(mutex_);
    while (!quit_) {
        wake_.wait_for(lock, kFeedInterval);
        if (!quit_ && phase_ == Phase::playing)
            FeedLocked();
    }
}

// Queues what falls due within the look-ahead, then notices the end.
void AlsaOutput::FeedLocked()
{
    const std::int64_t now = QueueNowLocked();
    queued_.Forget(now);
    const std::int64_t horizon = now + kLookAheadNs;
    while (!cursor_.Done()) {
        std::int64_t at = songOffsetNs_ + (cursor_.EventNs() - startNs_);
        if (at > horizon)
            break;
        const MessageView message = cursor_.Message();
        const SysExPacer before = pacer_;
        if (message.IsSysEx())
            at = pacer_.Place(at, message.size);
        if (OutputLocked(message, at) == -EAGAIN) {
            pacer_ = before; // the queue is full: the rest waits for the next round
            break;
        }
        if (cursor_.Advance())
            queued_.Add(at, message);
    }
    if (cursor_.Done() && !endQueued_) {
        ForEachOnPort(NoteOffMessages(cursor_.Sounding()),
                      [&](MessageView message) { OutputLocked(message, endQueueNs_); });
        endQueued_ = true;
    }
    snd_seq_drain_output(seq_);
    if (endQueued_ && now >= endQueueNs_) {
        phase_ = Phase::ended;
        ended_.store(true);
        endOrHalt_.notify_all();
    }
}

std::int64_t AlsaOutput::QueueNowLocked() const
{
    snd_seq_queue_status_t *status = nullptr;
    snd_seq_queue_status_alloca(&status);
    if (snd_seq_get_queue_status(seq_, queue_, status) < 0)
        return 0;
    const snd_seq_real_time_t *time = snd_seq_queue_status_get_real_time(status);
    return static_cast<std::int64_t>(time->tv_sec) * kNsPerSecond + time->tv_nsec;
}

std::int64_t AlsaOutput::SongNowLocked() const
{
    const std::int64_t song = startNs_ + (QueueNowLocked() - songOffsetNs_);
    return std::clamp(song, startNs_, std::max<std::int64_t>(lengthNs_ - 1, startNs_));
}

int AlsaOutput::OutputLocked(MessageView m, std::int64_t queueNs)
{
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    const int source = RouteSongPort(m.port, static_cast<int>(ports_.size()));
    snd_seq_ev_set_source(&event, ports_[static_cast<std::size_t>(source)]);
    snd_seq_ev_set_subs(&event);
    if (queueNs < 0) {
        snd_seq_ev_set_direct(&event);
    } else {
        snd_seq_real_time_t time{static_cast<unsigned>(queueNs / kNsPerSecond),
                                 static_cast<unsigned>(queueNs % kNsPerSecond)};
        snd_seq_ev_schedule_real(&event, queue_, 0, &time);
    }
    if (m.IsSysEx()) {
        if (m.size > kOutputBufferBytes / 2)
            return 0; // larger than any module takes: not sent
        snd_seq_ev_set_sysex(&event, static_cast<unsigned>(m.size),
                             const_cast<std::uint8_t *>(m.data));
    } else if (m.IsChannel() && m.size >= 2) {
        const int channel = m.Channel();
        const int data1 = m.data[1];
        const int data2 = m.size > 2 ? m.data[2] : 0;
        switch (m.Kind()) {
        case 0x80:
            snd_seq_ev_set_noteoff(&event, channel, data1, data2);
            break;
        case 0x90:
            snd_seq_ev_set_noteon(&event, channel, data1, data2);
            break;
        case 0xA0:
            snd_seq_ev_set_keypress(&event, channel, data1, data2);
            break;
        case 0xB0:
            snd_seq_ev_set_controller(&event, channel, data1, data2);
            break;
        case 0xC0:
            snd_seq_ev_set_pgmchange(&event, channel, data1);
            break;
        case 0xD0:
            snd_seq_ev_set_chanpress(&event, channel, data1);
            break;
        default:
            snd_seq_ev_set_pitchbend(&event, channel, (data1 | data2 << 7) - 8192);
            break;
        }
    } else {
        return 0;
    }
    const int result = snd_seq_event_output(seq_, &event);
    return result < 0 ? result : 0;
}

} // namespace mci
