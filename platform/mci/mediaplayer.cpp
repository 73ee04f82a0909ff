#include "platform/mci/mediaplayer.h"

#include "platform/mci/chase.h"
#include "platform/mci/loops.h"
#include "platform/mci/lyricreader.h"
#include "platform/mci/midioutput.h"
#include "platform/mci/outputconfig.h"
#include "platform/mci/outputtable.h"
#include "platform/mci/smfparser.h"
#include "platform/mci/songfile.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace mci {

namespace {

constexpr std::int64_t kNsPerMs = 1000000;

} // namespace

class TMediaPlayer::Impl
{
public:
    enum class State { closed, stopped, playing, paused };

    void Open();
    void Close();
    void Play();
    void Pause();
    void Stop();
    void Seek(std::int64_t position);
    std::int64_t Length() const;
    std::int64_t Position() const;
    TMPModes Mode() const;
    bool WaitForEnd(std::chrono::milliseconds timeout);

    std::string configFolder;
    std::optional<OutputConfig> outputConfig; // set when the output comes from midimap.ini
    std::shared_ptr<MidiOutput> output;
    std::string fileName;
    TMPTimeFormats timeFormat = TMPTimeFormats::tfDefault;
    bool autoRewind = true;
    double gainDb = 0; // midimap.ini's Gain at the last Open
    double volume = 1.0;
    int loops = 0;
    SongLyrics lyrics;

private:
    bool OutputEnded() const { return state_ == State::playing && output->Ended(); }
    void Sync();
    void Halt();
    void EnsureOutput();
    std::int64_t CurrentNs() const;
    std::int64_t ToNs(std::int64_t position) const;

    std::shared_ptr<const Song> song_;
    State state_ = State::closed;
    std::int64_t positionNs_ = 0; // while not playing
    bool chasePending_ = false;
};

void TMediaPlayer::Impl::Open()
{
    Close();
    if (fileName.empty())
        throw EMCIDeviceError("No file name was given to open.");
    const std::string bytes = ReadSongFile(fileName);
    Song song;
    try {
        song = ParseSong(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    } catch (const SongFormatError &error) {
        throw EMCIDeviceError("\"" + fileName + "\" " + error.what() + ".");
    }
    EnsureOutput();
    output->Prepare();
    song = ApplyLoops(std::move(song), loops);
    lyrics = ReadLyrics(song);
    song_ = std::make_shared<const Song>(std::move(song));
    state_ = State::stopped;
    positionNs_ = 0;
    chasePending_ = false;
    timeFormat = TMPTimeFormats::tfDefault;
}

// The output named in midimap.ini, made again only when the file's choice has changed;
// its level follows the file's Gain at every Open.
void TMediaPlayer::Impl::EnsureOutput()
{
    if (!outputConfig)
        return;
    const OutputConfig config = ReadOutputConfig(configFolder);
    if (!output || !SameOutput(config, *outputConfig)) {
        output.reset();
        output = CreateOutput(config);
    }
    outputConfig = config;
    gainDb = config.gainDb;
    loops = config.loops;
    output->SetLevel(gainDb, volume);
}

void TMediaPlayer::Impl::Close()
{
    if (state_ == State::playing)
        output->Halt();
    song_.reset();
    lyrics = SongLyrics();
    state_ = State::closed;
    positionNs_ = 0;
    chasePending_ = false;
}

// Takes notice of an output that has played to the end on its own.
void TMediaPlayer::Impl::Sync()
{
    if (OutputEnded()) {
        output->Halt();
        positionNs_ = song_->lengthNs;
        state_ = State::stopped;
    }
}

void TMediaPlayer::Impl::Halt()
{
    positionNs_ = output->Halt();
}

void TMediaPlayer::Impl::Play()
{
    Sync();
    if (state_ == State::closed || state_ == State::playing)
        return;
    if (autoRewind && positionNs_ >= song_->lengthNs) {
        positionNs_ = 0;
        chasePending_ = true;
    }
    PlayRequest request;
    request.song = song_;
    request.startNs = positionNs_;
    request.firstEvent = song_->FirstEventAtOrAfter(positionNs_);
    if (chasePending_)
        request.prelude = ChaseMessages(*song_, request.firstEvent);
    chasePending_ = false;
    output->Start(std::move(request));
    state_ = State::playing;
}

void TMediaPlayer::Impl::Pause()
{
    Sync();
    if (state_ != State::playing)
        return;
    Halt();
    state_ = State::paused;
}

void TMediaPlayer::Impl::Stop()
{
    Sync();
    if (state_ == State::playing)
        Halt();
    if (state_ == State::paused || state_ == State::playing)
        state_ = State::stopped;
}

void TMediaPlayer::Impl::Seek(std::int64_t position)
{
    Sync();
    if (state_ == State::closed)
        return;
    if (state_ == State::playing)
        Halt();
    positionNs_ = ToNs(position);
    state_ = State::stopped;
    chasePending_ = true;
}

std::int64_t TMediaPlayer::Impl::ToNs(std::int64_t position) const
{
    if (position <= 0)
        return 0;
    if (position >= Length())
        return song_->lengthNs;
    if (timeFormat == TMPTimeFormats::tfMilliseconds)
        return position * kNsPerMs;
    return song_->tempo.TickToNs(position);
}

std::int64_t TMediaPlayer::Impl::CurrentNs() const
{
    if (state_ != State::playing)
        return positionNs_;
    return output->Ended() ? song_->lengthNs : output->PositionNs();
}

std::int64_t TMediaPlayer::Impl::Length() const
{
    if (state_ == State::closed)
        return 0;
    if (timeFormat == TMPTimeFormats::tfMilliseconds)
        return (song_->lengthNs + kNsPerMs - 1) / kNsPerMs;
    return song_->lengthTicks;
}

std::int64_t TMediaPlayer::Impl::Position() const
{
    if (state_ == State::closed)
        return 0;
    const std::int64_t ns = CurrentNs();
    if (ns >= song_->lengthNs)
        return Length();
    if (timeFormat == TMPTimeFormats::tfMilliseconds)
        return ns / kNsPerMs;
    return std::min(song_->tempo.NsToTick(ns), song_->lengthTicks - 1);
}

TMPModes TMediaPlayer::Impl::Mode() const
{
    switch (state_) {
    case State::closed:
        return mpNotReady;
    case State::playing:
        return output->Ended() ? mpStopped : mpPlaying;
    case State::paused:
        return mpPaused;
    case State::stopped:
        break;
    }
    return mpStopped;
}

bool TMediaPlayer::Impl::WaitForEnd(std::chrono::milliseconds timeout)
{
    Sync();
    if (state_ == State::playing) {
        output->WaitForEnd(timeout);
        Sync();
    }
    return state_ == State::stopped && positionNs_ >= song_->lengthNs;
}

TMediaPlayer::TMediaPlayer(std::string configFolder)
    : impl_(std::make_unique<Impl>())
{
    impl_->configFolder = std::move(configFolder);
    impl_->outputConfig.emplace();
    impl_->volume = ReadVolume(impl_->configFolder);
}

TMediaPlayer::TMediaPlayer(std::shared_ptr<MidiOutput> output)
    : impl_(std::make_unique<Impl>())
{
    if (!output)
        throw std::invalid_argument("TMediaPlayer needs an output");
    impl_->output = std::move(output);
}

TMediaPlayer::~TMediaPlayer()
{
    impl_->Close();
}

const std::string &TMediaPlayer::FileName() const
{
    return impl_->fileName;
}

void TMediaPlayer::SetFileName(const std::string &fileName)
{
    impl_->fileName = fileName;
}

void TMediaPlayer::Open()
{
    impl_->Open();
}

void TMediaPlayer::Close()
{
    impl_->Close();
}

TMPTimeFormats TMediaPlayer::TimeFormat() const
{
    return impl_->timeFormat;
}

void TMediaPlayer::SetTimeFormat(TMPTimeFormats format)
{
    impl_->timeFormat = format;
}

void TMediaPlayer::Play()
{
    impl_->Play();
}

void TMediaPlayer::Pause()
{
    impl_->Pause();
}

void TMediaPlayer::Stop()
{
    impl_->Stop();
}

void TMediaPlayer::Rewind()
{
    impl_->Seek(0);
}

void TMediaPlayer::Seek(std::int64_t position)
{
    impl_->Seek(position);
}

std::int64_t TMediaPlayer::Length() const
{
    return impl_->Length();
}

std::int64_t TMediaPlayer::Position() const
{
    return impl_->Position();
}

TMPModes TMediaPlayer::Mode() const
{
    return impl_->Mode();
}

bool TMediaPlayer::AutoRewind() const
{
    return impl_->autoRewind;
}

void TMediaPlayer::SetAutoRewind(bool autoRewind)
{
    impl_->autoRewind = autoRewind;
}

bool TMediaPlayer::WaitForEnd(std::chrono::milliseconds timeout)
{
    return impl_->WaitForEnd(timeout);
}

int TMediaPlayer::Loops() const
{
    return impl_->loops;
}

void TMediaPlayer::SetLoops(int loops)
{
    impl_->loops = std::clamp(loops, 0, kMaxLoops);
}

const SongLyrics &TMediaPlayer::Lyrics() const
{
    return impl_->lyrics;
}

LyricProgress TMediaPlayer::LyricAt(std::int64_t ms) const
{
    return impl_->lyrics.At(std::max<std::int64_t>(ms, 0) * kNsPerMs);
}

double TMediaPlayer::Volume() const
{
    return impl_->volume;
}

void TMediaPlayer::SetVolume(double volume)
{
    if (std::isnan(volume))
        return;
    const double clamped = std::clamp(volume, 0.0, 1.0);
    if (impl_->outputConfig && clamped != impl_->volume)
        WriteVolume(impl_->configFolder, clamped);
    impl_->volume = clamped;
    if (impl_->output)
        impl_->output->SetLevel(impl_->gainDb, clamped);
}

void TMediaPlayer::Preload(const std::string &configFolder)
{
    try {
        const OutputConfig config = ReadOutputConfig(configFolder);
        if (const OutputKind *kind = FindOutputKind(config.device))
            kind->preload(config);
    } catch (const std::exception &) {
        // Only a head start: the Open that needs the output loads it and reports what fails.
    }
}

} // namespace mci
