#pragma once
// Compressed bytes held in memory, for decoding a bare stream (tests, fuzzing).

#include "filerange.h"

#include <algorithm>
#include <cstring>

namespace codec {

class MemorySource : public ByteSource
{
public:
    // data must outlive the source.
    MemorySource(const void *data, std::size_t size)
        : data_(static_cast<const unsigned char *>(data))
        , left_(size)
    {
    }
    std::size_t Read(unsigned char *buffer, std::size_t size) override
    {
        const std::size_t n = std::min(size, left_);
        std::memcpy(buffer, data_, n);
        data_ += n;
        left_ -= n;
        return n;
    }

private:
    const unsigned char *data_;
    std::size_t left_;
};

} // namespace codec
