#pragma once
// A canonical prefix code (Deflate's Huffman codes, Implode's Shannon-Fano codes) given by
// the code length of every symbol, decoded through one lookup table.

#include "outside/codecio/lsbbitreader.h"

#include <cstdint>
#include <vector>

namespace pkzip {

class PrefixCode
{
public:
    static constexpr unsigned maxLength = 16;

    // Codes are assigned by length, then symbol, the first bit of a code being its highest;
    // inverted codes are stored with every bit flipped (Implode). False when the lengths
    // (0 = unused, at most maxLength) name more codes than the bits can hold. Lengths that
    // leave codes unused are allowed; those codes decode as no symbol.
    bool Build(const std::uint8_t *lengths, unsigned count, bool inverted = false);

    // The next symbol, or -1 when the bits name none.
    int Decode(codec::LsbBitReader &in) const
    {
        const std::uint32_t entry = table_[in.Peek(tableBits_)];
        if (entry == 0)
            return -1;
        in.Skip(entry & 0x1F);
        return static_cast<int>(entry >> 5);
    }

private:
    std::vector<std::uint32_t> table_ = std::vector<std::uint32_t>(1); // symbol << 5 | length
    unsigned tableBits_ = 0;
};

} // namespace pkzip
