#pragma once
// Decoder of RAR 1.5 compression (also used by RAR 1.3 and 1.4): LZ77 over a 64 KB window
// whose literals, distances and flag bytes are coded by adaptive tables. Each table keeps
// its symbols ordered by how often they occurred, and a fixed set of prefix codes (chosen
// by running averages) names a place in that order. Solid archives carry the window and
// the adaptive state from one member into the next.

#include "outside/codecio/checkedmember.h"
#include "outside/codecio/msbbitreader.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace oldrar {

class Unpack15
{
public:
    Unpack15();
    ~Unpack15();

    // Starts a member of size bytes read from source, which must outlive its decoding;
    // solid keeps what the previous member left.
    void Start(codec::ByteSource &source, std::uint64_t size, bool solid);
    // Up to size bytes of the member into out; 0 at its end or once the data is broken.
    std::size_t Decode(unsigned char *out, std::size_t size);
    bool Broken() const { return broken_; }

private:
    // A table of 256 symbols kept in the order of their use: the high byte of an entry is
    // the symbol, the low byte counts its uses within its group of places.
    struct Ranking
    {
        std::uint16_t entries[256];
        std::uint8_t nextPlace[256];
    };

    void ResetTables();
    static void Regroup(Ranking &ranking);
    static void Swap(Ranking &ranking, unsigned place, unsigned moved, std::uint32_t entry);
    unsigned DecodePlace(int table);
    unsigned LiteralTable() const;
    std::uint32_t Flag();
    void Step();
    void ReadFlags();
    void Literal();
    void ControlCode();
    int ShortCode(std::uint32_t bits);
    void ShortMatch();
    void RepeatedMatch(unsigned code);
    std::uint32_t LongLength();
    void LongMatch();
    void Remember(std::uint32_t distance, std::uint32_t length);
    void Copy(std::uint32_t distance, std::uint32_t length);

    std::vector<unsigned char> window_;
    std::unique_ptr<codec::MsbBitReader> in_;
    std::uint32_t writePos_ = 0; // where the next decoded byte goes
    std::uint32_t readPos_ = 0;  // the next byte not handed out
    std::uint64_t left_ = 0;     // bytes of the member still to decode
    std::uint64_t toHand_ = 0;   // bytes of the member still to hand out
    bool broken_ = false;

    Ranking literals_{};
    Ranking distances_{}; // high bits of long distances
    Ranking flagBytes_{};
    std::uint16_t shortDistances_[256] = {};
    std::uint32_t oldDistances_[4] = {};
    unsigned oldDistancePos_ = 0;
    std::uint32_t lastDistance_ = 0;
    std::uint32_t lastLength_ = 0;

    std::uint32_t averagePlace_ = 0;     // of literals
    std::uint32_t averagePlaceLong_ = 0; // of long distances
    std::uint32_t averageShort_ = 0;
    std::uint32_t averageLong_ = 0;
    std::uint32_t averageLongRepeat_ = 0;
    std::uint32_t maxDistance3_ = 0;
    std::uint32_t literalWeight_ = 0;
    std::uint32_t matchWeight_ = 0;
    unsigned literalRun_ = 0;
    unsigned shortLengthSwap_ = 0;
    bool literalMode_ = false; // a run of literals, without flag bits
    unsigned repeatCount_ = 0;
    std::uint32_t flagBits_ = 0;
    int flagsLeft_ = 0;
};

// The RAR 1.5 decoder over one member as a codec::Decoder.
class Unpack15Member : public codec::Decoder
{
public:
    explicit Unpack15Member(Unpack15 &decoder)
        : decoder_(decoder)
    {
    }
    std::size_t Decode(unsigned char *out, std::size_t size) override
    {
        return decoder_.Decode(out, size);
    }
    bool Broken() const override { return decoder_.Broken(); }

private:
    Unpack15 &decoder_;
};

} // namespace oldrar
