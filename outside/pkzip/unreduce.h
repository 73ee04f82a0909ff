#pragma once
// ZIP methods 2 to 5, Reduce with compression factor 1 to 4: bytes coded against the set
// of bytes seen to follow the previous one (sets sent up front), then read as literals
// and DLE (144) escapes that name a length and distance back in a 1 to 4 KB history.

#include "lzwindow.h"
#include "outside/codecio/checkedmember.h"
#include "outside/codecio/lsbbitreader.h"

namespace pkzip {

class Unreduce : public codec::Decoder
{
public:
    // factor is the method minus 1 (1 to 4).
    Unreduce(int factor, codec::ByteSource &source);

    std::size_t Decode(unsigned char *out, std::size_t size) override;
    bool Broken() const override { return broken_; }
    bool Short() const override { return in_.Overrun(); }

private:
    bool ReadFollowerSets();
    unsigned char NextByte();
    bool Step(unsigned char *out, std::size_t &n);

    const unsigned factor_;
    codec::LsbBitReader in_;
    LzWindow window_;
    unsigned char followers_[256][64] = {};
    unsigned char followerCount_[256] = {};
    unsigned char last_ = 0;
    bool started_ = false;
    bool broken_ = false;
};

} // namespace pkzip
