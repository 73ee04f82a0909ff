#pragma once
// A canonical Huffman code as ARJ's LZ77 methods send it: code lengths of up to 16 bits,
// codes of one length assigned in symbol order, read most significant bit first.

#include "outside/codecio/msbbitreader.h"

#include <cstdint>
#include <vector>

namespace arj {

class HuffmanTable
{
public:
    static constexpr unsigned maxLength = 16;

    // Builds the code from lengths[0..count) (0 = symbol unused). False when the lengths
    // do not form a complete code, which no sound archive sends.
    bool Build(const std::uint8_t *lengths, unsigned count);
    // A code of one symbol that takes no bits at all.
    void SetSingle(std::uint16_t symbol);

    std::uint16_t Decode(codec::MsbBitReader &in) const;

private:
    static constexpr unsigned fastBits = 10;

    std::uint16_t DecodeSlow(codec::MsbBitReader &in, std::uint32_t peek) const;

    bool single_ = true;
    std::uint16_t singleSymbol_ = 0;
    std::uint16_t counts_[maxLength + 1] = {};
    std::vector<std::uint16_t> sorted_; // symbols by length, then by value
    std::vector<std::uint16_t> fast_; // (symbol << 5 | length) by the next fastBits bits; 0 = slow
};

} // namespace arj
