#pragma once
// 16-bit PCM WAV files: written safely (a temporary file beside the target, renamed over
// it only when complete), and read back for measuring.

#include <cstdint>
#include <string>
#include <vector>

namespace render {

// Writes a stereo 16-bit WAV file. Nothing appears under path until Finish succeeds; a
// writer dropped before that removes its temporary file.
class WavWriter
{
public:
    // Largest number of frames a WAV file can hold (its sizes are 32-bit).
    static constexpr std::uint64_t kMaxFrames = (0xFFFFFFFFull - 36) / 4;

    // Throws std::runtime_error naming the file when the temporary file cannot be made.
    WavWriter(std::string path, int sampleRate);
    ~WavWriter();
    WavWriter(const WavWriter &) = delete;
    WavWriter &operator=(const WavWriter &) = delete;

    // Appends frames (samples from -1 to 1, clipped). Throws std::runtime_error when the
    // file cannot be written or would outgrow kMaxFrames.
    void Write(const float *left, const float *right, std::size_t frames);
    // Completes the file and puts it in place. Throws std::runtime_error.
    void Finish();

    std::uint64_t Frames() const { return frames_; }

private:
    void WriteHeader(std::uint64_t frames);
    void Discard();

    std::string path_;
    std::string temporary_;
    int fd_ = -1;
    int sampleRate_;
    std::uint64_t frames_ = 0;
};

struct WavData
{
    int sampleRate = 0;
    int channels = 0;
    std::vector<float> samples; // interleaved, -1 to 1
};

// Reads a PCM WAV file of 16-bit or 32-bit float samples. Throws std::runtime_error.
WavData ReadWav(const std::string &path);

// The mean of the channels of each frame.
std::vector<float> MixToMono(const WavData &wav);

} // namespace render
