#include "wavfile.h"

#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace render {

namespace {

void PutLe(std::string &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t GetLe(const std::string &data, std::size_t pos, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(data[pos + static_cast<std::size_t>(i)]);
    return value;
}

[[noreturn]] void Fail(const std::string &what, const std::string &path)
{
    throw std::runtime_error(what + " \"" + path + "\": " + std::strerror(errno));
}

void WriteAll(int fd, const char *data, std::size_t size, const std::string &path)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail("Cannot write", path);
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

std::int16_t ToPcm(float sample)
{
    const float clipped = std::clamp(sample, -1.0f, 1.0f);
    return static_cast<std::int16_t>(std::lrint(clipped * 32767.0f));
}

} // namespace

WavWriter::WavWriter(std::string path, int sampleRate)
    : path_(std::move(path))
    , sampleRate_(sampleRate)
{
    temporary_ = path_ + ".XXXXXX";
    fd_ = ::mkstemp(temporary_.data());
    if (fd_ < 0)
        Fail("Cannot create", temporary_);
    // mkstemp makes the file private; the finished file gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
    WriteHeader(0);
}

WavWriter::~WavWriter()
{
    Discard();
}

void WavWriter::Discard()
{
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temporary_.c_str());
        fd_ = -1;
    }
}

void WavWriter::WriteHeader(std::uint64_t frames)
{
    const auto dataBytes = static_cast<std::uint32_t>(frames * 4);
    std::string header = "RIFF";
    PutLe(header, 36 + dataBytes, 4);
    header += "WAVEfmt ";
    PutLe(header, 16, 4);
    PutLe(header, 1, 2); // PCM
    PutLe(header, 2, 2);
    PutLe(header, static_cast<std::uint32_t>(sampleRate_), 4);
    PutLe(header, static_cast<std::uint32_t>(sampleRate_) * 4, 4);
    PutLe(header, 4, 2);
    PutLe(header, 16, 2);
    header += "data";
    PutLe(header, dataBytes, 4);
    if (::lseek(fd_, 0, SEEK_SET) != 0)
        Fail("Cannot write", temporary_);
    WriteAll(fd_, header.data(), header.size(), temporary_);
}

void WavWriter::Write(const float *left, const float *right, std::size_t frames)
{
    if (fd_ < 0)
        throw std::logic_error("WAV file already finished");
    if (frames_ + frames > kMaxFrames)
        throw std::runtime_error("The sound is too long for a WAV file \"" + path_ + "\".");
    // 16-bit little-endian frames, left then right, filled in place.
    std::string block(frames * 4, '\0');
    char *out = block.data();
    for (std::size_t i = 0; i < frames; ++i) {
        for (const float sample : {left[i], right[i]}) {
            const auto pcm = static_cast<std::uint16_t>(ToPcm(sample));
            *out++ = static_cast<char>(pcm & 0xFF);
            *out++ = static_cast<char>(pcm >> 8);
        }
    }
    WriteAll(fd_, block.data(), block.size(), temporary_);
    frames_ += frames;
}

void WavWriter::Finish()
{
    WriteHeader(frames_);
    if (::fsync(fd_) != 0)
        Fail("Cannot write", temporary_);
    if (::close(fd_) != 0) {
        fd_ = -1;
        ::unlink(temporary_.c_str());
        Fail("Cannot write", temporary_);
    }
    fd_ = -1;
    if (::rename(temporary_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary_.c_str());
        errno = error;
        Fail("Cannot write", path_);
    }
}

WavData ReadWav(const std::string &path)
{
    const std::string data = platform::ReadFile(path);
    if (data.size() < 12 || data.compare(0, 4, "RIFF") != 0 || data.compare(8, 4, "WAVE") != 0)
        throw std::runtime_error("\"" + path + "\" is not a WAV file");
    WavData wav;
    int bits = 0;
    int format = 0;
    std::size_t pos = 12;
    while (pos + 8 <= data.size()) {
        const std::string id = data.substr(pos, 4);
        const std::size_t length = GetLe(data, pos + 4, 4);
        const std::size_t start = pos + 8;
        const std::size_t available = std::min(length, data.size() - start);
        if (id == "fmt " && available >= 16) {
            format = static_cast<int>(GetLe(data, start, 2));
            wav.channels = static_cast<int>(GetLe(data, start + 2, 2));
            wav.sampleRate = static_cast<int>(GetLe(data, start + 4, 4));
            bits = static_cast<int>(GetLe(data, start + 14, 2));
            if (format == 0xFFFE && available >= 26)
                format = static_cast<int>(GetLe(data, start + 24, 2));
        } else if (id == "data") {
            if (wav.channels <= 0)
                throw std::runtime_error("\"" + path + "\" has no format before its data");
            if (format == 1 && bits == 16) {
                for (std::size_t i = 0; i + 2 <= available; i += 2)
                    wav.samples.push_back(static_cast<std::int16_t>(GetLe(data, start + i, 2)) /
                                          32768.0f);
            } else if (format == 3 && bits == 32) {
                for (std::size_t i = 0; i + 4 <= available; i += 4) {
                    const std::uint32_t raw = GetLe(data, start + i, 4);
                    float value = 0;
                    std::memcpy(&value, &raw, sizeof value);
                    wav.samples.push_back(value);
                }
            } else {
                throw std::runtime_error("\"" + path + "\" holds samples of an unknown kind");
            }
            return wav;
        }
        pos = start + length + (length & 1);
    }
    throw std::runtime_error("\"" + path + "\" has no audio data");
}

std::vector<float> MixToMono(const WavData &wav)
{
    std::vector<float> mono;
    const auto channels = static_cast<std::size_t>(std::max(wav.channels, 1));
    mono.reserve(wav.samples.size() / channels);
    for (std::size_t i = 0; i + channels <= wav.samples.size(); i += channels) {
        float sum = 0;
        for (std::size_t c = 0; c < channels; ++c)
            sum += wav.samples[i + c];
        mono.push_back(sum / static_cast<float>(channels));
    }
    return mono;
}

} // namespace render
