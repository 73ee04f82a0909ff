#pragma once
// ZIP method 9, Deflate64: Deflate with a 64 KB history, distance codes 30 and 31 (14
// extra bits) and length code 285 taking 16 extra bits over a base of 3.

#include "lzwindow.h"
#include "outside/codecio/checkedmember.h"
#include "prefixcode.h"

namespace pkzip {

class Inflate64 : public codec::Decoder
{
public:
    explicit Inflate64(codec::ByteSource &source);

    std::size_t Decode(unsigned char *out, std::size_t size) override;
    bool Broken() const override { return broken_; }
    bool Short() const override { return in_.Overrun(); }
    bool HasEnd() const override { return true; }

private:
    enum class Block { None, Stored, Coded, Done };

    bool StartBlock();
    bool StartStored();
    bool ReadDynamicCodes();
    bool ReadCodeLengths(const PrefixCode &lengthCode, std::uint8_t *lengths, unsigned count);
    void UseFixedCodes();
    bool Step(unsigned char *out, std::size_t &n);

    codec::LsbBitReader in_;
    LzWindow window_;
    PrefixCode literals_;
    PrefixCode distances_;
    Block block_ = Block::None;
    bool last_ = false;
    std::uint32_t storedLeft_ = 0;
    bool broken_ = false;
};

} // namespace pkzip
