#include "arjdecoder.h"

namespace arj {

ArjDecoder::ArjDecoder(int method, std::uint64_t originalSize, codec::ByteSource &source)
    : method_(method)
    , originalSize_(originalSize)
    , in_(source)
    , window_(windowSize)
{
    broken_ = method < 1 || method > 4;
}

std::size_t ArjDecoder::Decode(unsigned char *out, std::size_t size)
{
    std::size_t done = 0;
    while (done < size && produced_ < originalSize_ && !broken_) {
        unsigned char byte = 0;
        if (matchLeft_ > 0) {
            byte = window_[(produced_ - matchDistance_) & (windowSize - 1)];
            --matchLeft_;
        } else if (literal_ >= 0) {
            byte = static_cast<unsigned char>(literal_);
            literal_ = -1;
        } else {
            if (!(method_ == 4 ? NextFastestSymbol() : NextHuffmanSymbol()))
                broken_ = true;
            continue;
        }
        window_[produced_ & (windowSize - 1)] = byte;
        out[done++] = byte;
        ++produced_;
    }
    return done;
}

bool ArjDecoder::StartMatch(std::uint32_t length, std::uint32_t distance)
{
    // A distance reaching before the first byte of the member is damage.
    if (distance == 0 || distance > produced_ || distance > windowSize)
        return false;
    matchLeft_ = length;
    matchDistance_ = distance;
    return true;
}

bool ArjDecoder::NextHuffmanSymbol()
{
    if (blockLeft_ == 0 && !ReadBlockHeader())
        return false;
    --blockLeft_;
    const std::uint16_t symbol = codes_.Decode(in_);
    if (symbol < literalCount) {
        literal_ = symbol;
        return true;
    }
    const std::uint16_t bits = positionCodes_.Decode(in_);
    const std::uint32_t position = bits == 0 ? 0 : (1u << (bits - 1)) + in_.Get(bits - 1u);
    // Symbol 256 is the shortest match, 3 bytes.
    return StartMatch(symbol - literalCount + 3, position + 1);
}

bool ArjDecoder::ReadBlockHeader()
{
    blockLeft_ = in_.Get(16);
    return blockLeft_ != 0 && ReadLengthCodeLengths(lengthCodes_, lengthCodeCount, 3) &&
           ReadCodeLengths() && ReadLengthCodeLengths(positionCodes_, positionCodeCount, -1);
}

// Lengths of a small code: a count, then each length in 3 bits, 7 standing for 7 plus the
// number of one bits that follow (up to a zero bit). After the zeroRunAfter-th length a
// 2-bit count of zero lengths follows.
bool ArjDecoder::ReadLengthCodeLengths(HuffmanTable &table, unsigned count, int zeroRunAfter)
{
    const unsigned sent = in_.Get(5);
    if (sent == 0) {
        const unsigned symbol = in_.Get(5);
        if (symbol >= count)
            return false;
        table.SetSingle(static_cast<std::uint16_t>(symbol));
        return true;
    }
    if (sent > count)
        return false;
    std::uint8_t lengths[lengthCodeCount] = {};
    unsigned i = 0;
    while (i < sent) {
        unsigned length = in_.Get(3);
        if (length == 7) {
            while (in_.Get(1) == 1)
                if (++length > HuffmanTable::maxLength)
                    return false;
        }
        lengths[i++] = static_cast<std::uint8_t>(length);
        if (static_cast<int>(i) == zeroRunAfter) {
            i += in_.Get(2);
            if (i > count)
                return false;
        }
    }
    return table.Build(lengths, count);
}

// Lengths of the literal and match-length code, run-length coded with the small code:
// symbols 0, 1 and 2 are runs of zero lengths (1, 3 to 18, 20 to 531), symbol n > 2 is
// length n - 2.
bool ArjDecoder::ReadCodeLengths()
{
    const unsigned sent = in_.Get(9);
    if (sent == 0) {
        const unsigned symbol = in_.Get(9);
        if (symbol >= codeCount)
            return false;
        codes_.SetSingle(static_cast<std::uint16_t>(symbol));
        return true;
    }
    if (sent > codeCount)
        return false;
    std::uint8_t lengths[codeCount] = {};
    unsigned i = 0;
    while (i < sent) {
        const unsigned symbol = lengthCodes_.Decode(in_);
        if (symbol <= 2) {
            const unsigned run = symbol == 0 ? 1 : symbol == 1 ? in_.Get(4) + 3 : in_.Get(9) + 20;
            i += run;
            if (i > codeCount)
                return false;
        } else {
            lengths[i++] = static_cast<std::uint8_t>(symbol - 2);
        }
    }
    return codes_.Build(lengths, codeCount);
}

// A value sent as up to (lastWidth - firstWidth) one bits, each doubling the base, ended
// by a zero bit (or by reaching lastWidth), then width plain bits.
std::uint32_t ArjDecoder::UnaryValue(unsigned firstWidth, unsigned lastWidth)
{
    std::uint32_t base = 0;
    std::uint32_t step = 1u << firstWidth;
    unsigned width = firstWidth;
    for (; width < lastWidth; ++width) {
        if (in_.Get(1) == 0)
            break;
        base += step;
        step <<= 1;
    }
    return base + (width != 0 ? in_.Get(width) : 0);
}

bool ArjDecoder::NextFastestSymbol()
{
    const std::uint32_t length = UnaryValue(0, 7);
    if (length == 0) {
        literal_ = static_cast<int>(in_.Get(8));
        return true;
    }
    const std::uint32_t position = UnaryValue(9, 13);
    return StartMatch(length + 2, position + 1);
}

} // namespace arj
