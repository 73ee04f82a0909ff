// Our decoders of old compression methods on bare compressed streams, where no archive
// checksum keeps damaged data away from them: Shrink, Reduce 1 to 4, Implode (every flag
// combination), Deflate64, and RAR 1.5 over two solid members. Byte 0 picks the decoder,
// bytes 1 and 2 the original size. A decoder must stop, hand out no more than the size,
// and never touch memory outside its own (AddressSanitizer).

#include "fuzzsupport.h"

#include "outside/codecio/memorysource.h"
#include "outside/oldrar/unpack15.h"
#include "outside/pkzip/explode.h"
#include "outside/pkzip/inflate64.h"
#include "outside/pkzip/unreduce.h"
#include "outside/pkzip/unshrink.h"

#include <memory>
#include <vector>

namespace {

// Decodes up to size bytes in pieces of varying length.
void Drain(codec::Decoder &decoder, std::size_t size)
{
    std::vector<unsigned char> out(4096);
    std::size_t produced = 0;
    for (std::size_t piece = 1; produced < size; piece = piece * 3 % 4093 + 1) {
        const std::size_t want = std::min(piece, size - produced);
        const std::size_t n = decoder.Decode(out.data(), want);
        if (n > want)
            fuzzing::Fail("a decoder handed out more than it was asked for");
        if (n == 0)
            break;
        produced += n;
    }
}

std::unique_ptr<codec::Decoder> PkzipDecoder(unsigned choice, codec::ByteSource &source)
{
    if (choice == 0)
        return std::make_unique<pkzip::Unshrink>(source);
    if (choice <= 4)
        return std::make_unique<pkzip::Unreduce>(static_cast<int>(choice), source);
    if (choice <= 12)
        return std::make_unique<pkzip::Explode>(static_cast<std::uint16_t>(choice - 5), source);
    return std::make_unique<pkzip::Inflate64>(source);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    const unsigned choice = data[0] % 15;
    const std::size_t original = std::size_t{data[1]} << 8 | data[2];
    data += 3;
    size -= 3;
    if (choice < 14) {
        codec::MemorySource source(data, size);
        const std::unique_ptr<codec::Decoder> decoder = PkzipDecoder(choice, source);
        Drain(*decoder, original);
        return 0;
    }
    // Two RAR 1.5 members, the second solid: the first half of the bytes, then the rest.
    oldrar::Unpack15 unpack;
    oldrar::Unpack15Member member(unpack);
    codec::MemorySource first(data, size / 2);
    unpack.Start(first, original, false);
    Drain(member, original);
    codec::MemorySource second(data + size / 2, size - size / 2);
    unpack.Start(second, original / 2 + 1, true);
    Drain(member, original / 2 + 1);
    return 0;
}
