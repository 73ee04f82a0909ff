#include "explode.h"

namespace pkzip {

Explode::Explode(std::uint16_t flags, codec::ByteSource &source)
    : largeWindow_((flags & 0x02) != 0)
    , literalTree_((flags & 0x04) != 0)
    , in_(source)
    , window_(8192)
{
}

// A tree is sent as runs: a byte count, then per byte a run length (high nibble + 1) of
// symbols sharing a code length (low nibble + 1).
bool Explode::ReadTree(PrefixCode &code, unsigned count)
{
    std::uint8_t lengths[256] = {};
    const unsigned bytes = in_.Get(8) + 1;
    unsigned symbol = 0;
    for (unsigned i = 0; i < bytes; ++i) {
        const unsigned byte = in_.Get(8);
        const unsigned run = (byte >> 4) + 1;
        if (symbol + run > count)
            return false;
        for (unsigned k = 0; k < run; ++k)
            lengths[symbol++] = static_cast<std::uint8_t>((byte & 0x0F) + 1);
    }
    return symbol == count && !in_.Overrun() && code.Build(lengths, count, true);
}

bool Explode::ReadTrees()
{
    return (!literalTree_ || ReadTree(literals_, 256)) && ReadTree(lengths_, 64) &&
           ReadTree(distances_, 64);
}

std::size_t Explode::Decode(unsigned char *out, std::size_t size)
{
    if (!started_) {
        started_ = true;
        broken_ = !ReadTrees();
    }
    std::size_t n = 0;
    while (n < size && !broken_) {
        if (window_.Matching())
            n += window_.Drain(out + n, size - n);
        else if (!Step(out, n))
            broken_ = true;
    }
    return n;
}

// One literal into out[n], or the start of a match: false when the data is broken.
bool Explode::Step(unsigned char *out, std::size_t &n)
{
    if (in_.Get(1) == 1) {
        const int literal = literalTree_ ? literals_.Decode(in_) : static_cast<int>(in_.Get(8));
        if (literal < 0)
            return false;
        window_.Literal(static_cast<unsigned char>(literal), out + n++);
        return !in_.Overrun();
    }
    const unsigned lowBits = largeWindow_ ? 7 : 6;
    const std::uint32_t low = in_.Get(lowBits);
    const int high = distances_.Decode(in_);
    int length = lengths_.Decode(in_);
    if (high < 0 || length < 0)
        return false;
    if (length == 63)
        length += static_cast<int>(in_.Get(8));
    length += literalTree_ ? 3 : 2;
    window_.StartMatch((static_cast<std::uint32_t>(high) << lowBits | low) + 1,
                       static_cast<std::uint32_t>(length));
    return !in_.Overrun();
}

} // namespace pkzip
