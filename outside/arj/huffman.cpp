#include "huffman.h"

namespace arj {

bool HuffmanTable::Build(const std::uint8_t *lengths, unsigned count)
{
    single_ = false;
    for (unsigned len = 0; len <= maxLength; ++len)
        counts_[len] = 0;
    for (unsigned i = 0; i < count; ++i) {
        if (lengths[i] > maxLength)
            return false;
        ++counts_[lengths[i]];
    }
    counts_[0] = 0;
    // A complete code fills the code space exactly.
    std::uint32_t space = 0;
    for (unsigned len = 1; len <= maxLength; ++len)
        space += static_cast<std::uint32_t>(counts_[len]) << (maxLength - len);
    if (space != (1u << maxLength))
        return false;

    std::uint16_t offsets[maxLength + 2] = {};
    for (unsigned len = 1; len <= maxLength; ++len)
        offsets[len + 1] = static_cast<std::uint16_t>(offsets[len] + counts_[len]);
    sorted_.assign(count, 0);
    for (unsigned i = 0; i < count; ++i)
        if (lengths[i] != 0)
            sorted_[offsets[lengths[i]]++] = static_cast<std::uint16_t>(i);

    fast_.assign(1u << fastBits, 0);
    std::uint32_t code = 0;
    std::size_t index = 0;
    for (unsigned len = 1; len <= maxLength; ++len) {
        for (unsigned k = 0; k < counts_[len]; ++k, ++code, ++index) {
            if (len > fastBits)
                continue;
            const std::uint32_t first = code << (fastBits - len);
            const std::uint32_t last = (code + 1) << (fastBits - len);
            const auto entry = static_cast<std::uint16_t>(sorted_[index] << 5 | len);
            for (std::uint32_t i = first; i < last; ++i)
                fast_[i] = entry;
        }
        code <<= 1;
    }
    return true;
}

void HuffmanTable::SetSingle(std::uint16_t symbol)
{
    single_ = true;
    singleSymbol_ = symbol;
}

std::uint16_t HuffmanTable::Decode(codec::MsbBitReader &in) const
{
    if (single_)
        return singleSymbol_;
    const std::uint32_t peek = in.Peek(maxLength);
    const std::uint16_t entry = fast_[peek >> (maxLength - fastBits)];
    if (entry != 0) {
        in.Skip(entry & 0x1F);
        return static_cast<std::uint16_t>(entry >> 5);
    }
    return DecodeSlow(in, peek);
}

std::uint16_t HuffmanTable::DecodeSlow(codec::MsbBitReader &in, std::uint32_t peek) const
{
    // Walk the canonical code one length at a time. The code is complete, so every
    // 16-bit pattern ends at some length.
    std::int32_t code = 0;
    std::int32_t first = 0;
    std::int32_t index = 0;
    for (unsigned len = 1; len <= maxLength; ++len) {
        code |= static_cast<std::int32_t>((peek >> (maxLength - len)) & 1);
        const std::int32_t count = counts_[len];
        if (code - first < count) {
            in.Skip(len);
            return sorted_[static_cast<std::size_t>(index + code - first)];
        }
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    in.Skip(maxLength);
    return 0;
}

} // namespace arj
