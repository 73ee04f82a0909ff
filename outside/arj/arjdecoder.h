#pragma once
// Decoder of ARJ's compressed methods: 1 to 3 (LZ77 over a 26 KB window with static
// Huffman codes sent per block) and 4 (LZ77 with unary-prefixed lengths and pointers).
// It pulls compressed bytes from a ByteSource and hands out the original bytes in pieces
// of any size, so a member is never held in memory as a whole.

#include "huffman.h"
#include "outside/codecio/msbbitreader.h"

#include <cstdint>
#include <vector>

namespace arj {

class ArjDecoder
{
public:
    // method is 1 to 4; originalSize is the member's size, where decoding stops.
    ArjDecoder(int method, std::uint64_t originalSize, codec::ByteSource &source);

    // Up to size original bytes into out; 0 once the member is complete. Sets broken (and
    // answers 0 from then on) when the data cannot be a sound stream of its method.
    std::size_t Decode(unsigned char *out, std::size_t size);
    bool Broken() const { return broken_; }

private:
    static constexpr unsigned windowSize = 1u << 16; // holds every distance a code can name
    static constexpr unsigned literalCount = 256;
    static constexpr unsigned codeCount = 510; // literals and match lengths 3 to 256
    static constexpr unsigned lengthCodeCount = 19;
    static constexpr unsigned positionCodeCount = 17;

    bool ReadBlockHeader();
    bool ReadLengthCodeLengths(HuffmanTable &table, unsigned count, int zeroRunAfter);
    bool ReadCodeLengths();
    bool NextHuffmanSymbol();
    bool NextFastestSymbol();
    std::uint32_t UnaryValue(unsigned firstWidth, unsigned lastWidth);
    bool StartMatch(std::uint32_t length, std::uint32_t distance);

    const int method_;
    const std::uint64_t originalSize_;
    codec::MsbBitReader in_;
    std::vector<unsigned char> window_;
    std::uint64_t produced_ = 0;
    std::uint32_t matchLeft_ = 0;
    std::uint32_t matchDistance_ = 0;
    int literal_ = -1; // a literal decoded but not yet handed out
    std::uint32_t blockLeft_ = 0;
    HuffmanTable lengthCodes_;
    HuffmanTable codes_;
    HuffmanTable positionCodes_;
    bool broken_ = false;
};

} // namespace arj
