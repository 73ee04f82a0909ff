#include "offlinerender.h"

#include "wavfile.h"

#include <cmath>

namespace render {

namespace {

constexpr float kSilence = 1.0f / 32768.0f;

bool IsSilent(const float *left, const float *right, int frames)
{
    for (int i = 0; i < frames; ++i)
        if (std::fabs(left[i]) >= kSilence || std::fabs(right[i]) >= kSilence)
            return false;
    return true;
}

} // namespace

SongRenderer::SongRenderer(const std::string &songPath, const RenderOptions &options)
    : options_(options)
{
    mci::FluidOutput::Options fluid;
    fluid.soundFont = options.soundFont;
    fluid.sampleRate = options.sampleRate;
    fluid.offline = true;
    fluid.reverb = options.reverb;
    fluid.chorus = options.chorus;
    fluid.limit = options.limit;
    output_ = std::make_shared<mci::FluidOutput>(fluid);
    output_->SetLevel(options.gainDb, 1.0);
    player_ = std::make_unique<mci::TMediaPlayer>(output_);
    player_->SetLoops(options.loops);
    player_->SetFileName(songPath);
    player_->Open();
    player_->SetTimeFormat(mci::TMPTimeFormats::tfMilliseconds);
    player_->Play();
}

std::int64_t SongRenderer::SongFrames() const
{
    const std::int64_t ms = player_->Length();
    return (ms * options_.sampleRate + 999) / 1000;
}

bool SongRenderer::Next(float *left, float *right, int &frames)
{
    const bool playing = player_->Mode() == mci::mpPlaying;
    const std::int64_t quietEnough = options_.sampleRate / 4;
    if (!playing && (quietFrames_ >= quietEnough || tailFrames_ >= options_.maxTailFrames)) {
        frames = 0;
        return false;
    }
    frames = kBlockFrames;
    output_->Render(left, right, frames);
    if (!playing) {
        tailFrames_ += frames;
        quietFrames_ = IsSilent(left, right, frames) ? quietFrames_ + frames : 0;
    }
    return true;
}

StereoAudio RenderToMemory(const std::string &songPath, const RenderOptions &options)
{
    SongRenderer renderer(songPath, options);
    StereoAudio audio;
    audio.sampleRate = options.sampleRate;
    std::vector<float> left(SongRenderer::kBlockFrames), right(SongRenderer::kBlockFrames);
    int frames = 0;
    while (renderer.Next(left.data(), right.data(), frames)) {
        audio.left.insert(audio.left.end(), left.begin(), left.begin() + frames);
        audio.right.insert(audio.right.end(), right.begin(), right.begin() + frames);
    }
    return audio;
}

std::int64_t RenderToWav(const std::string &songPath, const std::string &wavPath,
                         const RenderOptions &options)
{
    SongRenderer renderer(songPath, options);
    if (static_cast<std::uint64_t>(renderer.SongFrames()) > WavWriter::kMaxFrames)
        throw std::runtime_error("The song is too long for a WAV file.");
    WavWriter wav(wavPath, options.sampleRate);
    std::vector<float> left(SongRenderer::kBlockFrames), right(SongRenderer::kBlockFrames);
    int frames = 0;
    while (renderer.Next(left.data(), right.data(), frames))
        wav.Write(left.data(), right.data(), static_cast<std::size_t>(frames));
    wav.Finish();
    return static_cast<std::int64_t>(wav.Frames());
}

} // namespace render
