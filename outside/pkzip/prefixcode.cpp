#include "prefixcode.h"

namespace pkzip {
namespace {

std::uint32_t Reversed(std::uint32_t code, unsigned length)
{
    std::uint32_t out = 0;
    for (unsigned i = 0; i < length; ++i, code >>= 1)
        out = out << 1 | (code & 1);
    return out;
}

} // namespace

bool PrefixCode::Build(const std::uint8_t *lengths, unsigned count, bool inverted)
{
    unsigned perLength[maxLength + 1] = {};
    unsigned longest = 0;
    for (unsigned symbol = 0; symbol < count; ++symbol) {
        if (lengths[symbol] > maxLength)
            return false;
        ++perLength[lengths[symbol]];
        if (lengths[symbol] > longest)
            longest = lengths[symbol];
    }
    // The first code of each length, checking that the codes fit.
    perLength[0] = 0;
    std::uint32_t next[maxLength + 1] = {};
    std::uint32_t code = 0;
    for (unsigned length = 1; length <= maxLength; ++length) {
        code = (code + perLength[length - 1]) << 1;
        next[length] = code;
        if (perLength[length] > (1u << length) - code)
            return false;
    }
    tableBits_ = longest;
    table_.assign(std::size_t(1) << longest, 0);
    for (unsigned symbol = 0; symbol < count; ++symbol) {
        const unsigned length = lengths[symbol];
        if (length == 0)
            continue;
        std::uint32_t value = next[length]++;
        if (inverted)
            value = ~value & ((1u << length) - 1);
        // The stream sends a code's highest bit first, and the reader puts it lowest.
        const std::uint32_t index = Reversed(value, length);
        for (std::uint32_t fill = index; fill < table_.size(); fill += 1u << length)
            table_[fill] = symbol << 5 | length;
    }
    return true;
}

} // namespace pkzip
