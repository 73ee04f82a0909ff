#pragma once
// A reader of one archive's members, one after another, whatever the format.

#include "outside/arccommon/protocol.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace arc {

struct MemberInfo
{
    protocol::MemberEntry entry;
    bool sizeKnown = false;
    // True only when the member's data really has holes (a sparse TAR member): gaps between
    // blocks and after the last one up to entry.size are then zeros.
    bool sparse = false;
    // Non-zero when the member's data cannot be read, and why (e.g. ERROR_PASSWORD_FILE).
    int refusal = 0;
};

struct DataBlock
{
    const void *data = nullptr;
    std::size_t size = 0;     // 0 at the end of the member's data
    std::uint64_t offset = 0; // where the bytes belong in the member (gaps are holes)
};

// The block of size bytes at data following the offset bytes handed out before it; offset
// moves past it.
inline DataBlock FollowingBlock(const void *data, std::size_t size, std::uint64_t &offset)
{
    const DataBlock block{data, size, offset};
    offset += size;
    return block;
}

// Results are the archiver interface's codes (outside/include/archiver_api.h).
//
// Integrity, the same for every reader, so that a damaged member never arrives:
// - ReadBlock answers ERROR_FILE_CRC, not fatal, in place of the end of a member (the
//   block of size 0) whose stored check (CRC-16, CRC-32, ...) does not match the data it
//   handed out. The reader then stands before the next member: every intact member after
//   a damaged one still reads.
// - A member is exactly as long as its header says (when sizeKnown). Data that ends short
//   of that size or runs past it is damage: ReadBlock answers ERROR_FILE_CRC, not fatal
//   when the next header can still be found. A short member is never padded with zeros,
//   unless the reader marks it sparse.
// - Blocks of a member that is not sparse follow one another without gaps.
// - Data that cannot be decoded at all answers ERROR_DATA_BROKEN (ERROR_METHOD for a
//   method the reader does not know), fatal when nothing after it can be read.
// The extraction checks the sizes and the order of blocks again, whatever the reader says.
// It writes a member to a temporary file and renames it into place only after ReadBlock
// ended the member without a code: on any code the partial file is removed.
class MemberReader
{
public:
    static constexpr int endOfArchive = -1;

    virtual ~MemberReader() = default;

    // The next member: 0, endOfArchive, or the code that ends the reading. Members whose
    // headers are damaged but can be stepped over are skipped (see SkippedProblem).
    virtual int Next(MemberInfo &info) = 0;
    // The next piece of the current member's data: 0 with a block (size 0 once the member
    // ended intact), or a code for this member; fatal tells whether the archive can still
    // be read after it.
    virtual int ReadBlock(DataBlock &block, bool &fatal) = 0;
    // For archives whose check covers the whole of them rather than each member (a TAR
    // inside a gzip stream): reads everything once, before any member is handed out, and
    // answers 0 when it is intact, else the code that keeps every member from arriving,
    // since none of them can be told good. 0 for all other archives.
    virtual int CheckWholeArchive() { return 0; }
    // The code of the first member that was skipped, 0 when none.
    virtual int SkippedProblem() const = 0;
    // Words on the last failure, for the report.
    virtual std::string ErrorText() const = 0;
};

} // namespace arc
