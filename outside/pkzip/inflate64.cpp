#include "inflate64.h"

namespace pkzip {
namespace {

constexpr std::uint16_t lengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                          15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                          67, 83, 99, 115, 131, 163, 195, 227, 3};
constexpr std::uint8_t lengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                          2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 16};
constexpr std::uint32_t distanceBase[32] = {1,    2,    3,    4,     5,     7,     9,     13,
                                            17,   25,   33,   49,    65,    97,    129,   193,
                                            257,  385,  513,  769,   1025,  1537,  2049,  3073,
                                            4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr std::uint8_t distanceExtra[32] = {0,  0,  0,  0,  1,  1,  2,  2,  3,  3, 4,
                                            4,  5,  5,  6,  6,  7,  7,  8,  8,  9, 9,
                                            10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
constexpr std::uint8_t lengthOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                          11, 4,  12, 3, 13, 2, 14, 1, 15};

} // namespace

Inflate64::Inflate64(codec::ByteSource &source)
    : in_(source)
    , window_(1u << 16)
{
}

std::size_t Inflate64::Decode(unsigned char *out, std::size_t size)
{
    std::size_t n = 0;
    while (n < size && !broken_) {
        if (window_.Matching()) {
            n += window_.Drain(out + n, size - n);
        } else if (block_ == Block::None) {
            if (last_) {
                block_ = Block::Done;
                break;
            }
            broken_ = !StartBlock();
        } else if (block_ == Block::Stored) {
            for (; n < size && storedLeft_ > 0; --storedLeft_)
                window_.Literal(static_cast<unsigned char>(in_.Get(8)), out + n++);
            if (storedLeft_ == 0)
                block_ = Block::None;
            broken_ = in_.Overrun();
        } else if (block_ == Block::Coded) {
            broken_ = !Step(out, n);
        } else {
            break;
        }
    }
    return n;
}

bool Inflate64::StartBlock()
{
    last_ = in_.Get(1) == 1;
    switch (in_.Get(2)) {
    case 0:
        return StartStored();
    case 1:
        UseFixedCodes();
        block_ = Block::Coded;
        return !in_.Overrun();
    case 2:
        block_ = Block::Coded;
        return ReadDynamicCodes();
    default:
        return false;
    }
}

bool Inflate64::StartStored()
{
    in_.AlignToByte();
    const std::uint32_t length = in_.Get(16);
    const std::uint32_t complement = in_.Get(16);
    if ((length ^ 0xFFFF) != complement || in_.Overrun())
        return false;
    storedLeft_ = length;
    block_ = Block::Stored;
    return true;
}

void Inflate64::UseFixedCodes()
{
    std::uint8_t lengths[288];
    for (unsigned i = 0; i < 288; ++i)
        lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
    literals_.Build(lengths, 288);
    std::uint8_t distance[32];
    for (std::uint8_t &length : distance)
        length = 5;
    distances_.Build(distance, 32);
}

bool Inflate64::ReadCodeLengths(const PrefixCode &lengthCode, std::uint8_t *lengths, unsigned count)
{
    for (unsigned i = 0; i < count;) {
        const int symbol = lengthCode.Decode(in_);
        if (symbol < 0)
            return false;
        if (symbol < 16) {
            lengths[i++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        unsigned repeat = 0;
        std::uint8_t value = 0;
        if (symbol == 16) {
            if (i == 0)
                return false;
            value = lengths[i - 1];
            repeat = 3 + in_.Get(2);
        } else {
            repeat = symbol == 17 ? 3 + in_.Get(3) : 11 + in_.Get(7);
        }
        if (i + repeat > count)
            return false;
        while (repeat-- > 0)
            lengths[i++] = value;
    }
    return !in_.Overrun();
}

bool Inflate64::ReadDynamicCodes()
{
    const unsigned literalCount = in_.Get(5) + 257;
    const unsigned distanceCount = in_.Get(5) + 1;
    const unsigned lengthCount = in_.Get(4) + 4;
    std::uint8_t lengthLengths[19] = {};
    for (unsigned i = 0; i < lengthCount; ++i)
        lengthLengths[lengthOrder[i]] = static_cast<std::uint8_t>(in_.Get(3));
    PrefixCode lengthCode;
    std::uint8_t lengths[288 + 32] = {};
    if (literalCount > 286 || !lengthCode.Build(lengthLengths, 19) ||
        !ReadCodeLengths(lengthCode, lengths, literalCount + distanceCount) || lengths[256] == 0)
        return false;
    return literals_.Build(lengths, literalCount) &&
           distances_.Build(lengths + literalCount, distanceCount);
}

// One literal into out[n], the start of a match, or the end of the block.
bool Inflate64::Step(unsigned char *out, std::size_t &n)
{
    const int symbol = literals_.Decode(in_);
    if (symbol < 0 || symbol > 285)
        return false;
    if (symbol < 256) {
        window_.Literal(static_cast<unsigned char>(symbol), out + n++);
        return !in_.Overrun();
    }
    if (symbol == 256) {
        block_ = Block::None;
        return !in_.Overrun();
    }
    const unsigned code = static_cast<unsigned>(symbol - 257);
    const std::uint32_t length = lengthBase[code] + in_.Get(lengthExtra[code]);
    const int distanceCode = distances_.Decode(in_);
    if (distanceCode < 0)
        return false;
    const auto d = static_cast<unsigned>(distanceCode);
    window_.StartMatch(distanceBase[d] + in_.Get(distanceExtra[d]), length);
    return !in_.Overrun();
}

} // namespace pkzip
