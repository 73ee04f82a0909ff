#pragma once
// Offline rendering of a song through the device: TMediaPlayer on a FluidSynth output
// that renders when asked instead of on an audio driver, so a song renders faster than
// real time and sounds exactly as it does when played.

#include "platform/mci/fluidoutput.h"
#include "platform/mci/mediaplayer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace render {

struct RenderOptions
{
    std::string soundFont;
    int sampleRate = 44100;
    bool reverb = true;
    bool chorus = true;
    double gainDb = 0; // midimap.ini's Gain: decibels added to the output level
    bool limit = true; // through the output's peak limiter, as the player plays
    int loops = 0;     // how many times a loop section plays (TMediaPlayer::SetLoops)
    // After the song: render on until a quarter second of silence or this much.
    std::int64_t maxTailFrames = 10 * 44100;
};

// A song opened and playing on an offline FluidSynth output.
class SongRenderer
{
public:
    static constexpr int kBlockFrames = 4096;

    // Opens songPath and starts it. Throws mci::EMCIDeviceError with the device's text.
    SongRenderer(const std::string &songPath, const RenderOptions &options);

    // Frames the song lasts, to its last End of Track (with loops, to the end of its fade).
    std::int64_t SongFrames() const;
    // Renders the next frames (at most kBlockFrames) into left and right; false, with
    // nothing rendered, once the song and its tail are over.
    bool Next(float *left, float *right, int &frames);

    mci::TMediaPlayer &Player() { return *player_; }

private:
    RenderOptions options_;
    std::shared_ptr<mci::FluidOutput> output_;
    std::unique_ptr<mci::TMediaPlayer> player_;
    std::int64_t tailFrames_ = 0;
    std::int64_t quietFrames_ = 0;
};

struct StereoAudio
{
    int sampleRate = 0;
    std::vector<float> left;
    std::vector<float> right;
};

// Renders the song file into memory. Throws mci::EMCIDeviceError.
StereoAudio RenderToMemory(const std::string &songPath, const RenderOptions &options);

// Renders the song file into a 16-bit stereo WAV file; returns the frames written.
// Throws mci::EMCIDeviceError for the song and std::runtime_error for the WAV file, in
// which case no file is left at wavPath.
std::int64_t RenderToWav(const std::string &songPath, const std::string &wavPath,
                         const RenderOptions &options);

} // namespace render
