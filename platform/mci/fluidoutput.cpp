#include "platform/mci/fluidoutput.h"

#include "platform/mci/channelquery.h"
#include "platform/mci/clock.h"
#include "platform/mci/fluidsynthhost.h"
#include "platform/mci/mcierror.h"
#include "platform/mci/modulelayer.h"
#include "platform/mci/outputlevel.h"
#include "platform/mci/silence.h"

#include <algorithm>
#include <stdexcept>

namespace mci {

namespace {

constexpr int kHalfBlock = FluidOutput::kBlockFrames / 2;
constexpr int kPeriodFrames = 512;
constexpr int kPeriods = 4;
constexpr int kMaxBuffers = 32;

// The settings outlive this output (they belong to the process's synthesiser): the
// driver's device is set every time, to its default when none is wanted.
bool SetAudioDevice(fluid_settings_t *settings, const std::string &driver,
                    const std::string &device)
{
    const std::string key = "audio." + driver + ".device";
    if (fluid_settings_get_type(settings, key.c_str()) != FLUID_STR_TYPE)
        return device.empty();
    if (!device.empty())
        return fluid_settings_setstr(settings, key.c_str(), device.c_str()) == FLUID_OK;
    char *fallback = nullptr;
    if (fluid_settings_getstr_default(settings, key.c_str(), &fallback) != FLUID_OK || !fallback)
        return true;
    return fluid_settings_setstr(settings, key.c_str(), fallback) == FLUID_OK;
}

// A cleared stereo pair handed to FluidSynth as its dry output and, mixed in, its effects.
struct StereoPair
{
    StereoPair(float *left, float *right, int frames)
        : out{left, right}
        , fx{left, right, left, right}
    {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
    }
    float *out[2];
    float *fx[4];
};

} // namespace

void FluidOutput::DriverDeleter::operator()(fluid_audio_driver_t *driver) const
{
    delete_fluid_audio_driver(driver);
}

FluidOutput::FluidOutput(Options options)
    : options_(std::move(options))
    , limiter_(options_.sampleRate)
{
    if (options_.sampleRate < 8000 || options_.sampleRate > 384000)
        throw std::invalid_argument("sample rate out of range");
}

FluidOutput::~FluidOutput()
{
    driver_.reset(); // stops the audio thread before anything it uses goes
}

void FluidOutput::Prepare()
{
    if (!lease_) {
        lease_ = fluidhost::Acquire(options_.soundFont, options_.sampleRate);
        fluid_synth_t *synth = lease_->Synth();
        fluid_synth_reverb_on(synth, -1, options_.reverb ? 1 : 0);
        fluid_synth_chorus_on(synth, -1, options_.chorus ? 1 : 0);
        fluid_sfont_t *sfont = fluid_synth_get_sfont(synth, 0);
        const std::lock_guard<std::mutex> lock(mutex_);
        module_ = std::make_unique<ModuleLayer>(synth, sfont ? fluid_sfont_get_id(sfont) : 0);
        module_->SetOutputLevel(OutputGain(gainDb_, volume_));
    }
    if (!options_.offline && !driver_)
        OpenAudioDriver();
}

void FluidOutput::OpenAudioDriver()
{
    const std::vector<std::string> names = options_.audioDriver.empty()
                                               ? std::vector<std::string>{"pulseaudio", "alsa"}
                                               : std::vector<std::string>{options_.audioDriver};
    fluid_settings_t *settings = lease_->Settings();
    fluid_settings_setint(settings, "audio.period-size", kPeriodFrames);
    fluid_settings_setint(settings, "audio.periods", kPeriods);
    std::string failures;
    for (const std::string &name : names) {
        fluidhost::TakeLastError();
        std::string why;
        if (fluid_settings_setstr(settings, "audio.driver", name.c_str()) != FLUID_OK) {
            why = "no such driver";
        } else if (!SetAudioDevice(settings, name, options_.audioDevice)) {
            why = "no device setting";
        } else if (fluid_audio_driver_t *driver =
                       new_fluid_audio_driver2(settings, &FluidOutput::AudioCallback, this)) {
            driver_.reset(driver);
            driverName_ = name;
            return;
        } else {
            why = fluidhost::TakeLastError();
        }
        failures += (failures.empty() ? "" : "; ") + name + (why.empty() ? "" : ": " + why);
    }
    throw EMCIDeviceError("No audio output can be opened (" + failures +
                          "). Check that a sound server or sound card is available, or choose "
                          "another output on the Output page of the settings window.");
}

void FluidOutput::Start(PlayRequest request)
{
    if (!lease_ || !request.song)
        return;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (phase_ == Phase::starting || phase_ == Phase::playing)
        return;
    const Song &song = *request.song;
    startNs_ = request.startNs;
    startSample_ = NsToSample(request.startNs, options_.sampleRate);
    endSample_ = song.tempo.TickToSample(song.lengthTicks, options_.sampleRate);
    lengthNs_ = song.lengthNs;
    prelude_ = std::move(request.prelude);
    cursor_ = PlaybackCursor(std::move(request.song), request.firstEvent);
    phase_ = Phase::starting;
    positionNs_.store(startNs_);
    ended_.store(false);
    active_.store(true);
}

std::int64_t FluidOutput::Halt()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    std::int64_t position = 0;
    switch (phase_) {
    case Phase::idle:
        return 0;
    case Phase::starting:
        // Never rendered: nothing sounds, but the output takes on the state it was to start in.
        SendAllLocked(prelude_);
        position = startNs_;
        break;
    case Phase::playing:
        SendAllLocked(SilenceMessages(cursor_.Sounding()));
        position = positionNs_.load();
        break;
    case Phase::ended:
        position = lengthNs_;
        break;
    }
    phase_ = Phase::idle;
    cursor_ = PlaybackCursor();
    prelude_.clear();
    active_.store(false);
    endOrHalt_.notify_all();
    return position;
}

std::int64_t FluidOutput::PositionNs() const
{
    return positionNs_.load();
}

bool FluidOutput::Ended() const
{
    return ended_.load();
}

bool FluidOutput::WaitForEnd(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(mutex_);
    endOrHalt_.wait_until(lock, SteadyDeadline(timeout),
                          [this] { return !active_.load() || ended_.load(); });
    return ended_.load();
}

void FluidOutput::Render(float *left, float *right, int frames)
{
    if (!options_.offline || !lease_)
        throw std::logic_error("Render needs a prepared offline output");
    StereoPair pair(left, right, frames);
    const std::lock_guard<std::mutex> lock(mutex_);
    RenderLocked(frames, 4, pair.fx, 2, pair.out);
}

bool FluidOutput::RenderPeriod(float *left, float *right, int frames)
{
    if (!lease_)
        throw std::logic_error("RenderPeriod needs a prepared output");
    StereoPair pair(left, right, frames);
    return TryRender(frames, 4, pair.fx, 2, pair.out);
}

int FluidOutput::AudioCallback(void *data, int len, int nfx, float *fx[], int nout, float *out[])
{
    auto *self = static_cast<FluidOutput *>(data);
    if (nout > kMaxBuffers || nfx > kMaxBuffers || nout < 2)
        return FLUID_FAILED;
    // Drivers without effect buffers get the effects mixed into the dry output.
    float *mixed[4] = {out[0], out[1], out[0], out[1]};
    if (nfx == 0)
        self->TryRender(len, 4, mixed, nout, out);
    else
        self->TryRender(len, nfx, fx, nout, out);
    return FLUID_OK;
}

// The audio thread's render: a transport call holds the output only for a moment, and
// waiting for it could miss the period, so a held output gives one period of silence
// (the buffers FluidSynth hands over are cleared) and the song's clock waits with it.
bool FluidOutput::TryRender(int frames, int nfx, float *fx[], int nout, float *out[])
{
    const std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock()) {
        for (int i = 0; i < nout; ++i)
            std::fill(out[i], out[i] + frames, 0.0f);
        for (int i = 0; i < nfx; ++i)
            std::fill(fx[i], fx[i] + frames, 0.0f);
        return false;
    }
    RenderLocked(frames, nfx, fx, nout, out);
    return true;
}

// Renders in pieces that end on FluidSynth's block boundaries, sending at each boundary
// what is due there; then limits the dry stereo pair (which holds the effects too, unless
// the driver mixes them in itself).
void FluidOutput::RenderLocked(int frames, int nfx, float *fx[], int nout, float *out[])
{
    std::int64_t &frame = lease_->Frames();
    std::array<float *, kMaxBuffers> fxAt{};
    std::array<float *, kMaxBuffers> outAt{};
    int done = 0;
    while (done < frames) {
        const int offset = static_cast<int>(frame % kBlockFrames);
        if (offset == 0)
            BlockStartLocked(frame);
        const int n = std::min(frames - done, kBlockFrames - offset);
        for (int i = 0; i < nfx; ++i)
            fxAt[static_cast<std::size_t>(i)] = fx[i] + done;
        for (int i = 0; i < nout; ++i)
            outAt[static_cast<std::size_t>(i)] = out[i] + done;
        fluid_synth_process(lease_->Synth(), n, nfx, fxAt.data(), nout, outAt.data());
        frame += n;
        done += n;
        AfterRenderLocked(frame);
    }
    if (options_.limit && nout >= 2)
        limiter_.Process(out[0], out[1], frames);
}

void FluidOutput::BlockStartLocked(std::int64_t frame)
{
    if (phase_ == Phase::starting) {
        startFrame_ = frame;
        SendAllLocked(prelude_);
        prelude_.clear();
        phase_ = Phase::playing;
    }
    if (phase_ != Phase::playing)
        return;
    // An event belongs to the block start nearest its sample: this one takes every event
    // before the midpoint of the block it starts.
    const std::int64_t limit = startSample_ + (frame - startFrame_) + kHalfBlock;
    const Song &song = *cursor_.GetSong();
    while (!cursor_.Done() &&
           song.tempo.TickToSample(cursor_.Event().tick, options_.sampleRate) < limit) {
        SendLocked(cursor_.Message());
        cursor_.Advance();
    }
}

void FluidOutput::AfterRenderLocked(std::int64_t frame)
{
    if (phase_ != Phase::playing)
        return;
    const std::int64_t played = frame - startFrame_;
    if (cursor_.Done() && startSample_ + played >= endSample_) {
        EndLocked();
        return;
    }
    const std::int64_t last = std::max<std::int64_t>(lengthNs_ - 1, 0);
    positionNs_.store(std::min(startNs_ + SampleToNs(played, options_.sampleRate), last));
}

void FluidOutput::EndLocked()
{
    SendAllLocked(NoteOffMessages(cursor_.Sounding()));
    cursor_.Sounding().Clear();
    phase_ = Phase::ended;
    positionNs_.store(lengthNs_);
    ended_.store(true);
    endOrHalt_.notify_all();
}

void FluidOutput::SendAllLocked(const std::vector<MidiMessage> &messages)
{
    ForEachOnPort(messages, [this](MessageView message) { SendLocked(message); });
}

void FluidOutput::SendLocked(MessageView message)
{
    module_->Send(message);
}

void FluidOutput::SetLevel(double gainDb, double volume)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    gainDb_ = gainDb;
    volume_ = volume;
    if (module_)
        module_->SetOutputLevel(OutputGain(gainDb_, volume_));
}

double FluidOutput::Gain() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return lease_ ? fluid_synth_get_gain(lease_->Synth()) : 0.0;
}

ModuleMode FluidOutput::Mode() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return module_ ? module_->Mode() : kPowerOnMode;
}

ChannelReport FluidOutput::Query(int port, int channel) const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!lease_)
        throw std::logic_error("Query needs a prepared output");
    return QueryChannel(lease_->Synth(), (port % kPorts) * 16 + (channel & 0x0F));
}

} // namespace mci
