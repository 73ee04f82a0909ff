#pragma once
// Reads a compressed stream most significant bit first, as ARJ and RAR 1.5 pack their
// codes. Past the end of the stream it yields zero bits (and says so), so a damaged member
// decodes into garbage that its checksum then rejects, never into a read outside the data.

#include "bytesource.h"

#include <cstdint>

namespace codec {

class MsbBitReader
{
public:
    explicit MsbBitReader(ByteSource &source)
        : feed_(source)
    {
    }

    // The next count (0 to 24) bits without using them.
    std::uint32_t Peek(unsigned count)
    {
        Fill(count);
        return count == 0 ? 0 : static_cast<std::uint32_t>(bits_ >> (64 - count));
    }
    void Skip(unsigned count)
    {
        Fill(count);
        bits_ <<= count;
        available_ -= count;
    }
    std::uint32_t Get(unsigned count)
    {
        const std::uint32_t value = Peek(count);
        Skip(count);
        return value;
    }
    // True once bits past the end of the stream were asked for.
    bool Overrun() const { return overrun_; }

private:
    void Fill(unsigned count)
    {
        while (available_ < count) {
            unsigned char byte = 0;
            if (feed_.Next(byte))
                bits_ |= static_cast<std::uint64_t>(byte) << (56 - available_);
            else
                overrun_ = true; // zero bits past the end
            available_ += 8;
        }
    }

    ByteFeed feed_;
    std::uint64_t bits_ = 0; // next bits, left-aligned
    unsigned available_ = 0;
    bool overrun_ = false;
};

} // namespace codec
