#pragma once
// ZIP method 1, Shrink: LZW with codes of 9 to 13 bits whose width the compressor raises
// (code 256, then 1), and partial clearing of the codes that no other code extends (256,
// then 2). Codes freed that way keep their strings until they are assigned again.

#include "outside/codecio/checkedmember.h"
#include "outside/codecio/lsbbitreader.h"

#include <vector>

namespace pkzip {

class Unshrink : public codec::Decoder
{
public:
    explicit Unshrink(codec::ByteSource &source);

    std::size_t Decode(unsigned char *out, std::size_t size) override;
    bool Broken() const override { return broken_; }
    bool Short() const override { return in_.Overrun(); }

private:
    static constexpr unsigned codeCount = 1u << 13;
    static constexpr unsigned firstFree = 257;

    bool NextCode();
    bool Control();
    void PartialClear();
    bool Expand(unsigned code);
    void AdvanceFree();

    codec::LsbBitReader in_;
    std::vector<std::uint16_t> prefix_ = std::vector<std::uint16_t>(codeCount);
    std::vector<unsigned char> suffix_ = std::vector<unsigned char>(codeCount);
    std::vector<bool> used_ = std::vector<bool>(codeCount);
    std::vector<unsigned char> pending_; // the current code's string, last byte first
    unsigned width_ = 9;
    unsigned free_ = firstFree;
    int previous_ = -1;
    bool broken_ = false;
};

} // namespace pkzip
