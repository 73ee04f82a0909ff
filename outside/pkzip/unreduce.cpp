#include "unreduce.h"

namespace pkzip {
namespace {

constexpr unsigned char escape = 144;

// Bits of an index into a follower set of count bytes.
unsigned IndexBits(unsigned count)
{
    unsigned bits = 1;
    while (bits < 6 && (1u << bits) < count)
        ++bits;
    return bits;
}

} // namespace

Unreduce::Unreduce(int factor, codec::ByteSource &source)
    : factor_(static_cast<unsigned>(factor))
    , in_(source)
    , window_(4096)
{
}

bool Unreduce::ReadFollowerSets()
{
    for (int byte = 255; byte >= 0; --byte) {
        const unsigned count = in_.Get(6);
        followerCount_[byte] = static_cast<unsigned char>(count);
        for (unsigned i = 0; i < count; ++i)
            followers_[byte][i] = static_cast<unsigned char>(in_.Get(8));
    }
    return !in_.Overrun();
}

// The next byte of the first stage: a literal, or a member of the last byte's followers.
unsigned char Unreduce::NextByte()
{
    const unsigned count = followerCount_[last_];
    if (count == 0 || in_.Get(1) == 1)
        last_ = static_cast<unsigned char>(in_.Get(8));
    else {
        const unsigned index = in_.Get(IndexBits(count));
        if (index >= count)
            broken_ = true;
        last_ = followers_[last_][index % count];
    }
    return last_;
}

std::size_t Unreduce::Decode(unsigned char *out, std::size_t size)
{
    if (!started_) {
        started_ = true;
        broken_ = !ReadFollowerSets();
    }
    std::size_t n = 0;
    while (n < size && !broken_) {
        if (window_.Matching())
            n += window_.Drain(out + n, size - n);
        else if (!Step(out, n))
            break;
    }
    return n;
}

// One literal into out[n], or the start of a match.
bool Unreduce::Step(unsigned char *out, std::size_t &n)
{
    const unsigned char first = NextByte();
    if (first != escape) {
        window_.Literal(first, out + n++);
        broken_ = broken_ || in_.Overrun();
        return !broken_;
    }
    const unsigned char code = NextByte();
    if (code == 0) {
        window_.Literal(escape, out + n++);
        broken_ = broken_ || in_.Overrun();
        return !broken_;
    }
    const unsigned lengthMask = 0xFFu >> factor_;
    std::uint32_t length = code & lengthMask;
    if (length == lengthMask)
        length += NextByte();
    const std::uint32_t distance = ((code >> (8 - factor_)) << 8) + NextByte() + 1;
    window_.StartMatch(distance, length + 3);
    if (in_.Overrun() || broken_) {
        broken_ = true;
        return false;
    }
    return true;
}

} // namespace pkzip
