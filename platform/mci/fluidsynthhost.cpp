#include "platform/mci/fluidsynthhost.h"

#include "platform/files.h"
#include "platform/mci/mcierror.h"
#include "platform/mci/modulelayer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <vector>

namespace mci {

struct LoadedSynth
{
    LoadedSynth() = default;
    LoadedSynth(const LoadedSynth &) = delete;
    LoadedSynth &operator=(const LoadedSynth &) = delete;
    ~LoadedSynth()
    {
        if (synth)
            delete_fluid_synth(synth);
        if (settings)
            delete_fluid_settings(settings);
    }

    fluid_settings_t *settings = nullptr;
    fluid_synth_t *synth = nullptr;
    std::int64_t frames = 0;
    std::atomic<bool> leased{false};
};

namespace {

// FluidSynth logs through process-wide functions; the last error is kept for our messages.
class FluidLog
{
public:
    static FluidLog &Instance()
    {
        static FluidLog log;
        return log;
    }
    std::string Take()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        std::string text;
        text.swap(last_);
        return text;
    }

private:
    FluidLog()
    {
        fluid_set_log_function(FLUID_PANIC, &FluidLog::Keep, this);
        fluid_set_log_function(FLUID_ERR, &FluidLog::Keep, this);
        fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
        fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
        fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    }
    static void Keep(int, const char *message, void *data)
    {
        auto *self = static_cast<FluidLog *>(data);
        const std::lock_guard<std::mutex> lock(self->mutex_);
        self->last_ = message ? message : "";
    }

    std::mutex mutex_;
    std::string last_;
};

std::string WithDetail(const std::string &text)
{
    const std::string detail = FluidLog::Instance().Take();
    return detail.empty() ? text + "." : text + " (" + detail + ").";
}

std::shared_ptr<LoadedSynth> Load(const std::string &soundFont, int sampleRate)
{
    FluidLog::Instance();
    if (soundFont.empty())
        throw EMCIDeviceError("No SoundFont is installed. Install one (for example the package "
                              "fluid-soundfont-gm) or name one under SoundFont in midimap.ini.");
    if (!platform::FileExists(soundFont))
        throw EMCIDeviceError("The SoundFont \"" + soundFont + "\" cannot be found.");
    if (!fluid_is_soundfont(soundFont.c_str()))
        throw EMCIDeviceError("\"" + soundFont + "\" is not a SoundFont.");
    auto loaded = std::make_shared<LoadedSynth>();
    loaded->settings = new_fluid_settings();
    if (!loaded->settings)
        throw EMCIDeviceError(WithDetail("The synthesiser cannot be started"));
    fluid_settings_setnum(loaded->settings, "synth.sample-rate", sampleRate);
    fluid_settings_setint(loaded->settings, "synth.lock-memory", 0);
    // A channel for every part of every port the module layer plays.
    fluid_settings_setint(loaded->settings, "synth.midi-channels", ModuleLayer::kChannels);
    loaded->synth = new_fluid_synth(loaded->settings);
    if (!loaded->synth)
        throw EMCIDeviceError(WithDetail("The synthesiser cannot be started"));
    if (fluid_synth_sfload(loaded->synth, soundFont.c_str(), 1) == FLUID_FAILED)
        throw EMCIDeviceError(WithDetail("The SoundFont \"" + soundFont + "\" cannot be loaded"));
    return loaded;
}

// The one synthesiser of the process (or the load of it under way), by SoundFont and rate.
class SynthCache
{
public:
    static SynthCache &Instance()
    {
        static SynthCache cache;
        return cache;
    }

    // The log is set up first so that it outlives the synthesisers at exit.
    SynthCache() { FluidLog::Instance(); }

    void Preload(const std::string &soundFont, int sampleRate)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        EnsureLocked(soundFont, sampleRate);
    }

    std::shared_ptr<LoadedSynth> Get(const std::string &soundFont, int sampleRate)
    {
        std::shared_future<std::shared_ptr<LoadedSynth>> load;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            EnsureLocked(soundFont, sampleRate);
            load = current_.load;
        }
        try {
            return load.get();
        } catch (...) {
            // A failed load is not kept: the next attempt loads again (the file may be there now).
            const std::lock_guard<std::mutex> lock(mutex_);
            if (current_.soundFont == soundFont && current_.sampleRate == sampleRate)
                current_ = Entry();
            throw;
        }
    }

private:
    struct Entry
    {
        std::string soundFont;
        int sampleRate = 0;
        std::shared_future<std::shared_ptr<LoadedSynth>> load;
    };

    void EnsureLocked(const std::string &soundFont, int sampleRate)
    {
        if (current_.load.valid() && current_.soundFont == soundFont &&
            current_.sampleRate == sampleRate)
            return;
        // A load being replaced finishes on its own; its future is kept until then, since
        // dropping the last one would wait for it here.
        if (current_.load.valid())
            retired_.push_back(current_.load);
        retired_.erase(std::remove_if(retired_.begin(), retired_.end(),
                                      [](const auto &f) {
                                          return f.wait_for(std::chrono::seconds(0)) ==
                                                 std::future_status::ready;
                                      }),
                       retired_.end());
        current_.soundFont = soundFont;
        current_.sampleRate = sampleRate;
        current_.load = std::async(std::launch::async, Load, soundFont, sampleRate).share();
    }

    std::mutex mutex_;
    Entry current_;
    std::vector<std::shared_future<std::shared_ptr<LoadedSynth>>> retired_;
};

} // namespace

SynthLease::SynthLease(std::shared_ptr<LoadedSynth> synth)
    : synth_(std::move(synth))
{
    fluid_synth_system_reset(synth_->synth);
}

SynthLease::~SynthLease()
{
    fluid_synth_all_sounds_off(synth_->synth, -1);
    synth_->leased.store(false);
}

fluid_synth_t *SynthLease::Synth() const
{
    return synth_->synth;
}

fluid_settings_t *SynthLease::Settings() const
{
    return synth_->settings;
}

std::int64_t &SynthLease::Frames()
{
    return synth_->frames;
}

namespace fluidhost {

void Preload(const std::string &soundFont, int sampleRate)
{
    SynthCache::Instance().Preload(soundFont, sampleRate);
}

std::unique_ptr<SynthLease> Acquire(const std::string &soundFont, int sampleRate)
{
    std::shared_ptr<LoadedSynth> synth = SynthCache::Instance().Get(soundFont, sampleRate);
    if (synth->leased.exchange(true))
        throw EMCIDeviceError("The synthesiser is in use by another player.");
    return std::make_unique<SynthLease>(std::move(synth));
}

std::string TakeLastError()
{
    return FluidLog::Instance().Take();
}

} // namespace fluidhost

} // namespace mci
