#pragma once
// The history of an LZ77 decoder: the last bytes written, and the match being copied out
// of them. A match may be handed out over several calls. Bytes before the start of the
// member read as zeros, as Reduce and Implode define them.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pkzip {

class LzWindow
{
public:
    // size must be a power of two, at least the largest distance.
    explicit LzWindow(std::size_t size)
        : bytes_(size, 0)
        , mask_(size - 1)
    {
    }

    void Literal(unsigned char byte, unsigned char *out)
    {
        bytes_[position_++ & mask_] = byte;
        *out = byte;
    }
    // distance 1 is the last byte written.
    void StartMatch(std::uint32_t distance, std::uint32_t length)
    {
        matchFrom_ = position_ - distance;
        matchLeft_ = length;
    }
    bool Matching() const { return matchLeft_ > 0; }
    // Copies up to room bytes of the match to out: how many.
    std::size_t Drain(unsigned char *out, std::size_t room)
    {
        std::size_t n = 0;
        for (; n < room && matchLeft_ > 0; ++n, --matchLeft_)
            Literal(bytes_[matchFrom_++ & mask_], out + n);
        return n;
    }

private:
    std::vector<unsigned char> bytes_;
    const std::size_t mask_;
    std::size_t position_ = 0;
    std::size_t matchFrom_ = 0;
    std::uint32_t matchLeft_ = 0;
};

} // namespace pkzip
