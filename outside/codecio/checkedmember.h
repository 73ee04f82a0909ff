#pragma once
// A member's original bytes as a decoder produces them, handed out in pieces and checked
// at the end against the size and checksum its header stores. The last piece is followed
// by a success only when both match, so a damaged member never passes as complete.
//
// Results are the archiver interface's codes (outside/include/archiver_api.h).

#include "outside/arccommon/memberreader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace codec {

class FileRange;

// Produces a member's original bytes.
class Decoder
{
public:
    virtual ~Decoder() = default;
    // Up to size bytes into out; 0 once the stream ends or is found broken.
    virtual std::size_t Decode(unsigned char *out, std::size_t size) = 0;
    // True when the data cannot be a sound stream of its method.
    virtual bool Broken() const = 0;
    // True when the compressed data ran out before the stream was complete.
    virtual bool Short() const { return false; }
    // Whether the stream marks its own end, so that data running on past the member's
    // size can be told (stored data, Deflate).
    virtual bool HasEnd() const { return false; }
};

// Continues a checksum over size bytes of data (arc::Crc32 for most formats).
using Checksum = std::uint32_t (*)(std::uint32_t sum, const void *data, std::size_t size);

class CheckedMember
{
public:
    // Reads size bytes from decoder, whose compressed bytes come from range (may be null),
    // expecting checksum sum of them; both must outlive this.
    CheckedMember(Decoder &decoder, const FileRange *range, std::uint64_t size, std::uint32_t sum,
                  Checksum checksum);

    // 0 with got > 0: the next bytes. 0 with got 0: the end, after size bytes whose
    // checksum matched. ERROR_FILE_CRC: the checksum does not match, or the data ends
    // before size bytes or runs on past them. ERROR_DATA_BROKEN: the data cannot be
    // decoded. ERROR_CANNOT_READ: the archive file could not be read. After a failure every
    // call repeats it.
    int Read(unsigned char *buffer, std::size_t size, std::size_t &got);

    // Read into buffer, as a member reader's block (outside/arccommon/memberreader.h).
    int ReadBlock(std::vector<unsigned char> &buffer, arc::DataBlock &block);

    std::uint64_t Delivered() const { return delivered_; }

private:
    Decoder &decoder_;
    const FileRange *range_;
    const std::uint64_t size_;
    const std::uint32_t expected_;
    const Checksum checksum_;
    std::uint32_t sum_ = 0;
    std::uint64_t delivered_ = 0;
    int failure_ = 0;

    int Finish();
    int Failure(std::size_t made) const;
};

} // namespace codec
