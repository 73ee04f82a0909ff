#include "unpack15.h"

#include <algorithm>
#include <cstring>

namespace oldrar {
namespace {

constexpr std::uint32_t windowSize = 1u << 16;
constexpr std::uint32_t windowMask = windowSize - 1;
constexpr std::uint32_t longestStep = 300; // more than any one step writes
constexpr unsigned maxIdleSteps = 4096;

// The fixed prefix codes: a code's first bits select a row by the bounds, and its value is
// the row's base place plus the code's remaining bits.
struct PlaceCode
{
    unsigned firstLength;
    std::uint32_t bounds[12];
    std::uint32_t bases[13];
};

enum CodeId { lengths1, lengths2, places0, places1, places2, places3, places4 };

constexpr PlaceCode placeCodes[] = {
    {2,
     {0x8000, 0xa000, 0xc000, 0xd000, 0xe000, 0xea00, 0xee00, 0xf000, 0xf200, 0xf200, 0xffff},
     {0, 0, 0, 2, 3, 5, 7, 11, 16, 20, 24, 32, 32}},
    {3,
     {0xa000, 0xc000, 0xd000, 0xe000, 0xea00, 0xee00, 0xf000, 0xf200, 0xf240, 0xffff},
     {0, 0, 0, 0, 5, 7, 9, 13, 18, 22, 26, 34, 36}},
    {4,
     {0x8000, 0xc000, 0xe000, 0xf200, 0xf200, 0xf200, 0xf200, 0xf200, 0xffff},
     {0, 0, 0, 0, 0, 8, 16, 24, 33, 33, 33, 33, 33}},
    {5,
     {0x2000, 0xc000, 0xe000, 0xf000, 0xf200, 0xf200, 0xf7e0, 0xffff},
     {0, 0, 0, 0, 0, 0, 4, 44, 60, 76, 80, 80, 127}},
    {5,
     {0x1000, 0x2400, 0x8000, 0xc000, 0xfa00, 0xffff, 0xffff, 0xffff},
     {0, 0, 0, 0, 0, 0, 2, 7, 53, 117, 233, 0, 0}},
    {6,
     {0x0800, 0x2400, 0xee00, 0xfe80, 0xffff, 0xffff, 0xffff},
     {0, 0, 0, 0, 0, 0, 0, 2, 16, 218, 251, 0, 0}},
    {8,
     {0xff00, 0xffff, 0xffff, 0xffff, 0xffff, 0xffff},
     {0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0}},
};

// The short match codes of the two length tables: code bits (left-aligned in a byte) and
// their count. Entry 1 (table 1) or 3 (table 2) has a length that the stream can switch.
constexpr unsigned shortCodeCount = 15;
constexpr unsigned shortLengths1[shortCodeCount] = {1, 3, 4, 4, 5, 6, 7, 8, 8, 4, 4, 5, 6, 6, 4};
constexpr unsigned shortCodes1[shortCodeCount] = {0,    0xa0, 0xd0, 0xe0, 0xf0, 0xf8, 0xfc, 0xfe,
                                                  0xff, 0xc0, 0x80, 0x90, 0x98, 0x9c, 0xb0};
constexpr unsigned shortLengths2[shortCodeCount] = {2, 3, 3, 3, 4, 4, 5, 6, 6, 4, 4, 5, 6, 6, 4};
constexpr unsigned shortCodes2[shortCodeCount] = {0,    0x40, 0x60, 0xa0, 0xd0, 0xe0, 0xf0, 0xf8,
                                                  0xfc, 0xc0, 0x80, 0x90, 0x98, 0x9c, 0xb0};

} // namespace

Unpack15::Unpack15()
    : window_(windowSize, 0)
{
}

Unpack15::~Unpack15() = default;

void Unpack15::Start(codec::ByteSource &source, std::uint64_t size, bool solid)
{
    in_ = std::make_unique<codec::MsbBitReader>(source);
    if (!solid) {
        std::fill(window_.begin(), window_.end(), 0);
        writePos_ = readPos_ = 0;
        std::memset(oldDistances_, 0, sizeof oldDistances_);
        oldDistancePos_ = 0;
        lastDistance_ = lastLength_ = 0;
        averagePlaceLong_ = averageShort_ = averageLong_ = averageLongRepeat_ = 0;
        literalRun_ = shortLengthSwap_ = 0;
        averagePlace_ = 0x3500;
        maxDistance3_ = 0x2001;
        literalWeight_ = matchWeight_ = 0x80;
        ResetTables();
    }
    readPos_ = writePos_;
    flagsLeft_ = 0;
    flagBits_ = 0;
    literalMode_ = false;
    repeatCount_ = 0;
    left_ = toHand_ = size;
    broken_ = false;
    if (size > 0) {
        ReadFlags();
        flagsLeft_ = 8;
    }
}

void Unpack15::ResetTables()
{
    for (unsigned i = 0; i < 256; ++i) {
        literals_.entries[i] = distances_.entries[i] = static_cast<std::uint16_t>(i << 8);
        shortDistances_[i] = static_cast<std::uint16_t>(i);
        flagBytes_.entries[i] = static_cast<std::uint16_t>(((0u - i) & 0xff) << 8);
    }
    std::memset(literals_.nextPlace, 0, sizeof literals_.nextPlace);
    std::memset(distances_.nextPlace, 0, sizeof distances_.nextPlace);
    std::memset(flagBytes_.nextPlace, 0, sizeof flagBytes_.nextPlace);
    Regroup(distances_);
}

// Restarts the use counts: places fall into eight groups of 32, each group's entries
// numbered from 7 down, and each count's next place at the start of its group.
void Unpack15::Regroup(Ranking &ranking)
{
    for (unsigned i = 0; i < 256; ++i)
        ranking.entries[i] =
            static_cast<std::uint16_t>((ranking.entries[i] & 0xff00) | (7 - i / 32));
    std::memset(ranking.nextPlace, 0, sizeof ranking.nextPlace);
    for (unsigned i = 0; i < 7; ++i)
        ranking.nextPlace[i] = static_cast<std::uint8_t>((7 - i) * 32);
}

// The symbol at place, counted once more, moves to the next place of its count.
void Unpack15::Swap(Ranking &ranking, unsigned place, unsigned moved, std::uint32_t entry)
{
    ranking.entries[place] = ranking.entries[moved];
    ranking.entries[moved] = static_cast<std::uint16_t>(entry);
}

unsigned Unpack15::DecodePlace(int table)
{
    const PlaceCode &code = placeCodes[table];
    const std::uint32_t bits = in_->Peek(16) & 0xfff0;
    unsigned row = 0;
    unsigned length = code.firstLength;
    while (code.bounds[row] <= bits) {
        ++row;
        ++length;
    }
    in_->Skip(length);
    const std::uint32_t below = row > 0 ? code.bounds[row - 1] : 0;
    return ((bits - below) >> (16 - length)) + code.bases[length];
}

void Unpack15::ReadFlags()
{
    const unsigned place = DecodePlace(places2);
    if (place >= 256)
        return;
    std::uint32_t entry = 0;
    unsigned moved = 0;
    for (;;) {
        entry = flagBytes_.entries[place];
        flagBits_ = entry >> 8;
        moved = flagBytes_.nextPlace[entry++ & 0xff]++;
        if ((entry & 0xff) != 0)
            break;
        Regroup(flagBytes_);
    }
    Swap(flagBytes_, place, moved, entry);
}

std::uint32_t Unpack15::Flag()
{
    if (--flagsLeft_ < 0) {
        ReadFlags();
        flagsLeft_ = 7;
    }
    const std::uint32_t bit = flagBits_ & 0x80;
    flagBits_ <<= 1;
    return bit;
}

void Unpack15::Step()
{
    if (literalMode_) {
        Literal();
        return;
    }
    const bool literalsWin = matchWeight_ <= literalWeight_;
    if (Flag() != 0) {
        if (literalsWin)
            Literal();
        else
            LongMatch();
    } else if (Flag() != 0) {
        if (literalsWin)
            LongMatch();
        else
            Literal();
    } else {
        ShortMatch();
    }
}

void Unpack15::Copy(std::uint32_t distance, std::uint32_t length)
{
    left_ -= std::min<std::uint64_t>(left_, length);
    for (; length > 0; --length, ++writePos_)
        window_[writePos_ & windowMask] = window_[(writePos_ - distance) & windowMask];
}

std::size_t Unpack15::Decode(unsigned char *out, std::size_t size)
{
    std::size_t n = 0;
    while (n < size && toHand_ > 0 && !broken_) {
        std::uint32_t ready = writePos_ - readPos_;
        if (ready == 0) {
            // Steps that write nothing (table switches) cannot go on for ever.
            for (unsigned idle = 0; left_ > 0 && idle < maxIdleSteps && !broken_ &&
                                    writePos_ - readPos_ < windowSize - longestStep &&
                                    writePos_ - readPos_ < size - n;) {
                const std::uint32_t before = writePos_;
                Step();
                idle = writePos_ == before ? idle + 1 : 0;
            }
            ready = writePos_ - readPos_;
            if (ready == 0) {
                broken_ = true;
                break;
            }
        }
        const std::size_t take =
            static_cast<std::size_t>(std::min<std::uint64_t>({ready, size - n, toHand_}));
        for (std::size_t i = 0; i < take; ++i)
            out[n + i] = window_[(readPos_ + i) & windowMask];
        readPos_ += static_cast<std::uint32_t>(take);
        n += take;
        toHand_ -= take;
    }
    // A match running past the member's end is not part of it.
    if (toHand_ == 0)
        readPos_ = writePos_;
    return n;
}

unsigned Unpack15::LiteralTable() const
{
    if (averagePlace_ > 0x75ff)
        return places4;
    if (averagePlace_ > 0x5dff)
        return places3;
    if (averagePlace_ > 0x35ff)
        return places2;
    return averagePlace_ > 0x0dff ? places1 : places0;
}

void Unpack15::Literal()
{
    const std::uint32_t bits = in_->Peek(16);
    unsigned place = DecodePlace(static_cast<int>(LiteralTable())) & 0xff;
    if (literalMode_) {
        // Place 0 escapes to a control code; the others stand one place further.
        if (place == 0 && bits > 0xfff)
            place = 0x100;
        if (place == 0) {
            ControlCode();
            return;
        }
        --place;
    } else if (literalRun_++ >= 16 && flagsLeft_ == 0) {
        literalMode_ = true;
    }
    averagePlace_ += place;
    averagePlace_ -= averagePlace_ >> 8;
    literalWeight_ += 16;
    if (literalWeight_ > 0xff) {
        literalWeight_ = 0x90;
        matchWeight_ >>= 1;
    }
    window_[writePos_++ & windowMask] = static_cast<unsigned char>(literals_.entries[place] >> 8);
    --left_;
    std::uint32_t entry = 0;
    unsigned moved = 0;
    for (;;) {
        entry = literals_.entries[place];
        moved = literals_.nextPlace[entry++ & 0xff]++;
        if ((entry & 0xff) <= 0xa1)
            break;
        Regroup(literals_);
    }
    Swap(literals_, place, moved, entry);
}

// In a run of literals: either the end of the run or a short match.
void Unpack15::ControlCode()
{
    const std::uint32_t bits = in_->Peek(16);
    in_->Skip(1);
    if ((bits & 0x8000) != 0) {
        literalRun_ = 0;
        literalMode_ = false;
        return;
    }
    const std::uint32_t length = (bits & 0x4000) != 0 ? 4 : 3;
    in_->Skip(1);
    std::uint32_t distance = DecodePlace(places2);
    distance = distance << 5 | in_->Peek(16) >> 11;
    in_->Skip(5);
    Copy(distance, length);
}

void Unpack15::Remember(std::uint32_t distance, std::uint32_t length)
{
    oldDistances_[oldDistancePos_++ & 3] = distance;
    oldDistancePos_ &= 3;
    lastDistance_ = distance;
    lastLength_ = length;
    Copy(distance, length);
}

// The short code of a match, or -1 when the bits name none.
int Unpack15::ShortCode(std::uint32_t bits)
{
    const bool first = averageShort_ < 37;
    const unsigned *codes = first ? shortCodes1 : shortCodes2;
    const unsigned switched = first ? 1 : 3;
    for (unsigned i = 0; i < shortCodeCount; ++i) {
        const unsigned length =
            i == switched ? shortLengthSwap_ + 3 : (first ? shortLengths1[i] : shortLengths2[i]);
        if (((bits ^ codes[i]) & ~(0xffu >> length) & 0xff) == 0) {
            in_->Skip(length);
            return static_cast<int>(i);
        }
    }
    return -1;
}

void Unpack15::ShortMatch()
{
    literalRun_ = 0;
    std::uint32_t bits = in_->Peek(16);
    if (repeatCount_ == 2) {
        in_->Skip(1);
        if (bits >= 0x8000) {
            Copy(lastDistance_, lastLength_);
            return;
        }
        bits <<= 1;
        repeatCount_ = 0;
    }
    const int code = ShortCode((bits >> 8) & 0xff);
    if (code < 0) {
        broken_ = true;
        return;
    }
    if (code >= 9) {
        RepeatedMatch(static_cast<unsigned>(code));
        return;
    }
    repeatCount_ = 0;
    averageShort_ += static_cast<unsigned>(code);
    averageShort_ -= averageShort_ >> 4;
    const unsigned place = DecodePlace(places2) & 0xff;
    const std::uint32_t distance = shortDistances_[place];
    if (place > 0) {
        shortDistances_[place] = shortDistances_[place - 1];
        shortDistances_[place - 1] = static_cast<std::uint16_t>(distance);
    }
    Remember(distance + 1, static_cast<std::uint32_t>(code) + 2);
}

// Short codes 9 to 14: the last match again, an old distance, or a long distance.
void Unpack15::RepeatedMatch(unsigned code)
{
    if (code == 9) {
        ++repeatCount_;
        Copy(lastDistance_, lastLength_);
        return;
    }
    repeatCount_ = 0;
    if (code == 14) {
        const std::uint32_t length = DecodePlace(lengths2) + 5;
        const std::uint32_t distance = (in_->Peek(16) >> 1) | 0x8000;
        in_->Skip(15);
        // Repeatable, but not one of the old distances.
        lastDistance_ = distance;
        lastLength_ = length;
        Copy(distance, length);
        return;
    }
    const std::uint32_t distance = oldDistances_[(oldDistancePos_ - (code - 9)) & 3];
    std::uint32_t length = DecodePlace(lengths1) + 2;
    if (length == 0x101 && code == 10) {
        shortLengthSwap_ ^= 1;
        return;
    }
    if (distance > 256)
        ++length;
    if (distance >= maxDistance3_)
        ++length;
    Remember(distance, length);
}

std::uint32_t Unpack15::LongLength()
{
    const std::uint32_t bits = in_->Peek(16);
    if (averageLong_ >= 122)
        return DecodePlace(lengths2);
    if (averageLong_ >= 64)
        return DecodePlace(lengths1);
    if (bits < 0x100) {
        in_->Skip(16);
        return bits;
    }
    std::uint32_t zeros = 0;
    while (((bits << zeros) & 0x8000) == 0)
        ++zeros;
    in_->Skip(zeros + 1);
    return zeros;
}

void Unpack15::LongMatch()
{
    literalRun_ = 0;
    matchWeight_ += 16;
    if (matchWeight_ > 0xff) {
        matchWeight_ = 0x90;
        literalWeight_ >>= 1;
    }
    const std::uint32_t oldAverageLong = averageLong_;
    std::uint32_t length = LongLength();
    averageLong_ += length;
    averageLong_ -= averageLong_ >> 5;

    const int table = averagePlaceLong_ > 0x28ff  ? places2
                      : averagePlaceLong_ > 0x6ff ? places1
                                                  : places0;
    const unsigned place = DecodePlace(table) & 0xff;
    averagePlaceLong_ += place;
    averagePlaceLong_ -= averagePlaceLong_ >> 8;
    std::uint32_t entry = 0;
    unsigned moved = 0;
    for (;;) {
        entry = distances_.entries[place];
        moved = distances_.nextPlace[entry++ & 0xff]++;
        if ((entry & 0xff) != 0)
            break;
        Regroup(distances_);
    }
    Swap(distances_, place, moved, entry);
    const std::uint32_t distance = ((entry & 0xff00) | in_->Peek(16) >> 8) >> 1;
    in_->Skip(7);

    const std::uint32_t oldAverageRepeat = averageLongRepeat_;
    if (length != 1 && length != 4) {
        if (length == 0 && distance <= maxDistance3_) {
            ++averageLongRepeat_;
            averageLongRepeat_ -= averageLongRepeat_ >> 8;
        } else if (averageLongRepeat_ > 0) {
            --averageLongRepeat_;
        }
    }
    length += 3;
    if (distance >= maxDistance3_)
        ++length;
    if (distance <= 256)
        length += 8;
    maxDistance3_ = oldAverageRepeat > 0xb0 || (averagePlace_ >= 0x2a00 && oldAverageLong < 0x40)
                        ? 0x7f00
                        : 0x2001;
    Remember(distance, length);
}

} // namespace oldrar
