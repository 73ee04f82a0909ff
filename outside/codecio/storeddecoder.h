#pragma once
// Stored data: the member's bytes copied as they are.

#include "checkedmember.h"
#include "filerange.h"

namespace codec {

class StoredDecoder : public Decoder
{
public:
    explicit StoredDecoder(ByteSource &source)
        : source_(source)
    {
    }
    std::size_t Decode(unsigned char *out, std::size_t size) override
    {
        return source_.Read(out, size);
    }
    bool Broken() const override { return false; }
    bool HasEnd() const override { return true; }

private:
    ByteSource &source_;
};

} // namespace codec
