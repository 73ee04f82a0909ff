#pragma once
// Where our own decoders take compressed bytes from, and the buffered byte-at-a-time feed
// their bit readers fill from.

#include <cstddef>

namespace codec {

class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Up to size bytes into buffer; 0 at the end.
    virtual std::size_t Read(unsigned char *buffer, std::size_t size) = 0;
};

// The bytes of a source one at a time, read in large pieces.
class ByteFeed
{
public:
    explicit ByteFeed(ByteSource &source)
        : source_(source)
    {
    }

    // The next byte into byte; false (byte unchanged) at the end of the source, and at
    // every call after it.
    bool Next(unsigned char &byte)
    {
        if (position_ == size_) {
            size_ = source_.Read(buffer_, sizeof buffer_);
            position_ = 0;
            if (size_ == 0)
                return false;
        }
        byte = buffer_[position_++];
        return true;
    }

private:
    ByteSource &source_;
    unsigned char buffer_[16384];
    std::size_t position_ = 0;
    std::size_t size_ = 0;
};

} // namespace codec
