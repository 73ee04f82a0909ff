#pragma once
// Reads a compressed stream most significant bit first, as ARJ packs its codes. Past the
// end of the stream it yields zero bits (and says so), so a damaged member decodes into
// garbage that its checksum then rejects, never into a read outside the data.

#include <cstddef>
#include <cstdint>

namespace arj {

// Where compressed bytes come from.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Up to size bytes into buffer; 0 at the end.
    virtual std::size_t Read(unsigned char *buffer, std::size_t size) = 0;
};

class BitReader
{
public:
    explicit BitReader(ByteSource &source)
        : source_(source)
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
            if (position_ == size_) {
                size_ = source_.Read(buffer_, sizeof buffer_);
                position_ = 0;
                if (size_ == 0) {
                    // Zero bits past the end.
                    overrun_ = true;
                    available_ += 8;
                    continue;
                }
            }
            bits_ |= static_cast<std::uint64_t>(buffer_[position_++]) << (56 - available_);
            available_ += 8;
        }
    }

    ByteSource &source_;
    std::uint64_t bits_ = 0; // next bits, left-aligned
    unsigned available_ = 0;
    unsigned char buffer_[16384];
    std::size_t position_ = 0;
    std::size_t size_ = 0;
    bool overrun_ = false;
};

} // namespace arj
