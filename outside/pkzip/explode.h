#pragma once
// ZIP method 6, Implode: LZ77 over a 4 or 8 KB history, with lengths, the high bits of
// distances and (with three trees) literals coded by Shannon-Fano trees sent up front.

#include "lzwindow.h"
#include "outside/codecio/checkedmember.h"
#include "prefixcode.h"

namespace pkzip {

class Explode : public codec::Decoder
{
public:
    // flags is the member's general-purpose bit flag: bit 1 means an 8 KB history, bit 2
    // a literal tree (three trees).
    Explode(std::uint16_t flags, codec::ByteSource &source);

    std::size_t Decode(unsigned char *out, std::size_t size) override;
    bool Broken() const override { return broken_; }
    bool Short() const override { return in_.Overrun(); }

private:
    bool ReadTree(PrefixCode &code, unsigned count);
    bool ReadTrees();
    bool Step(unsigned char *out, std::size_t &n);

    const bool largeWindow_;
    const bool literalTree_;
    codec::LsbBitReader in_;
    LzWindow window_;
    PrefixCode literals_;
    PrefixCode lengths_;
    PrefixCode distances_;
    bool started_ = false;
    bool broken_ = false;
};

} // namespace pkzip
