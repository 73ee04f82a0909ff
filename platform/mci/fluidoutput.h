#pragma once
// The FluidSynth output: the song's events are dispatched inside the audio render itself,
// not through FluidSynth's own player or sequencer (which round times to milliseconds).
//
// Every message goes through the module layer (modulelayer.h), which plays what a GS or XG
// module would; the layer's state lasts as long as the output holds the synthesiser, so
// the reset file played before a song sets the mode the song plays in. What FluidSynth
// renders goes through a peak limiter (outputlimiter.h) on its way out, so nothing clips.
//
// FluidSynth applies messages only where it starts a block of 64 frames, so each event is
// sent at the block start nearest its exact sample by the tempo map: every onset lands
// within 32 samples of its time, and since the sample clock is counted from the song's
// start (never added up from rounded steps), the end of a long song is as exact as its
// start. The song's position is the frames rendered since it started.
//
// Live, an audio driver's thread renders; offline (tests, rendering to a file) the owner
// calls Render, through the same code. The driver's thread never waits for the transport:
// while a transport call holds the output it renders a period of silence instead (see
// RenderPeriod).

#include "platform/mci/channelreport.h"
#include "platform/mci/midioutput.h"
#include "platform/mci/modulesysex.h"
#include "platform/mci/outputconfig.h"
#include "platform/mci/outputlimiter.h"
#include "platform/mci/playbackcursor.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

// FluidSynth's driver handle; the rest of FluidSynth stays inside the device.
typedef struct _fluid_audio_driver_t fluid_audio_driver_t;

namespace mci {

class ModuleLayer;
class SynthLease;

class FluidOutput final : public MidiOutput
{
public:
    struct Options
    {
        std::string soundFont;   // required
        std::string audioDriver; // a FluidSynth driver name; empty: "pulseaudio", then "alsa"
        std::string
            audioDevice; // the driver's device ("audio.<driver>.device"); empty: its default
        int sampleRate = kLiveSampleRate;
        bool offline = false; // no audio driver: the owner renders with Render
        bool reverb = true;
        bool chorus = true;
        bool limit = true; // through the peak limiter (outputlimiter.h); off for measurements
    };

    // FluidSynth's own rendering block, in frames.
    static constexpr int kBlockFrames = 64;

    explicit FluidOutput(Options options);
    ~FluidOutput() override;

    // Takes the process's synthesiser with the SoundFont (waiting for its load) and, when
    // live, opens the audio driver: the one named, or PulseAudio then ALSA, with a period
    // of 512 frames. Throws EMCIDeviceError saying what failed.
    void Prepare() override;
    void Start(PlayRequest request) override;
    std::int64_t Halt() override;
    std::int64_t PositionNs() const override;
    bool Ended() const override;
    // Waits on a condition the render signals at the end (and Halt when it stops the song);
    // offline, somebody else must be rendering.
    bool WaitForEnd(std::chrono::milliseconds timeout) override;
    void SetLevel(double gainDb, double volume) override;

    // The gain FluidSynth renders at now (base gain, Gain, volume and master volume).
    double Gain() const;
    // After Prepare: the module mode the songs have set, and what FluidSynth itself holds
    // on a part (asked of FluidSynth, see QueryChannel). Not while a driver renders.
    ModuleMode Mode() const;
    ChannelReport Query(int port, int channel) const;

    // Offline only, after Prepare: renders frames of stereo audio into left and right
    // (overwritten), with reverb and chorus mixed in, and sends what is due in them.
    // May be called from another thread than the transport calls.
    void Render(float *left, float *right, int frames);
    // What the audio driver's thread does for a period: renders as Render does, but never
    // waits. While a transport call holds the output it writes silence, leaves the song's
    // clock and the synthesiser where they are, and returns false; true when it rendered.
    bool RenderPeriod(float *left, float *right, int frames);

    int SampleRate() const { return options_.sampleRate; }
    // The audio driver Prepare opened; empty offline or before.
    const std::string &AudioDriver() const { return driverName_; }

private:
    friend class FluidOutputProbe; // tests hold the output as a transport call does

    enum class Phase { idle, starting, playing, ended };
    struct DriverDeleter
    {
        void operator()(fluid_audio_driver_t *driver) const;
    };

    static int AudioCallback(void *data, int len, int nfx, float *fx[], int nout, float *out[]);
    void OpenAudioDriver();
    bool TryRender(int frames, int nfx, float *fx[], int nout, float *out[]);
    void RenderLocked(int frames, int nfx, float *fx[], int nout, float *out[]);
    void EndLocked();
    void BlockStartLocked(std::int64_t frame);
    void AfterRenderLocked(std::int64_t frame);
    void SendLocked(MessageView message);
    void SendAllLocked(const std::vector<MidiMessage> &messages);

    const Options options_;
    std::unique_ptr<SynthLease> lease_;
    std::unique_ptr<ModuleLayer> module_; // while the lease lasts
    PeakLimiter limiter_;
    std::unique_ptr<fluid_audio_driver_t, DriverDeleter> driver_;
    std::string driverName_;

    mutable std::mutex mutex_; // the render against the transport calls; guards what follows
    std::condition_variable endOrHalt_; // with mutex_: the song ended or was halted
    double gainDb_ = 0;
    double volume_ = 1.0;
    Phase phase_ = Phase::idle;
    PlaybackCursor cursor_;
    std::vector<MidiMessage> prelude_;
    std::int64_t startNs_ = 0;
    std::int64_t startSample_ = 0; // song sample at the start
    std::int64_t startFrame_ = 0;  // synthesiser frame at the start
    std::int64_t endSample_ = 0;   // song sample of the end
    std::int64_t lengthNs_ = 0;
    std::atomic<std::int64_t> positionNs_{0};
    std::atomic<bool> active_{false}; // started and not halted
    std::atomic<bool> ended_{false};
};

} // namespace mci
