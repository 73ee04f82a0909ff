#pragma once
// Reads a compressed stream least significant bit first, as PKZIP and Deflate pack their
// codes. Past the end of the stream it yields zero bits and says so, so damaged data
// decodes into garbage that the member's CRC-32 rejects, never into a read outside it.

#include "bytesource.h"

#include <cstdint>

namespace codec {

class LsbBitReader
{
public:
    explicit LsbBitReader(ByteSource &source)
        : feed_(source)
    {
    }

    // The next count (0 to 32) bits without using them, the first bit lowest.
    std::uint32_t Peek(unsigned count)
    {
        Fill(count);
        return count == 0 ? 0
                          : static_cast<std::uint32_t>(bits_ & ((std::uint64_t(1) << count) - 1));
    }
    void Skip(unsigned count)
    {
        Fill(count);
        bits_ >>= count;
        available_ -= count;
        consumed_ += count;
    }
    std::uint32_t Get(unsigned count)
    {
        const std::uint32_t value = Peek(count);
        Skip(count);
        return value;
    }
    // Drops the bits left of the current byte (Deflate's stored blocks start on a byte).
    void AlignToByte() { Skip(available_ % 8); }
    // True once bits past the end of the stream were used (peeking past it is fine).
    bool Overrun() const { return consumed_ > loaded_; }

private:
    void Fill(unsigned count)
    {
        while (available_ < count) {
            unsigned char byte = 0;
            if (feed_.Next(byte)) {
                bits_ |= static_cast<std::uint64_t>(byte) << available_;
                loaded_ += 8;
            }
            available_ += 8; // zero bits past the end
        }
    }

    ByteFeed feed_;
    std::uint64_t bits_ = 0; // next bits, the first one lowest
    unsigned available_ = 0;
    std::uint64_t loaded_ = 0;   // bits that came from the stream
    std::uint64_t consumed_ = 0; // bits used
};

} // namespace codec
