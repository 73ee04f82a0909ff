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
    // Non-zero when the member's data cannot be read, and why (e.g. ERROR_PASSWORD_FILE).
    int refusal = 0;
};

struct DataBlock
{
    const void *data = nullptr;
    std::size_t size = 0;     // 0 at the end of the member's data
    std::uint64_t offset = 0; // where the bytes belong in the member (gaps are holes)
};

// Results are the archiver interface's codes (outside/include/archiver_api.h).
class MemberReader
{
public:
    static constexpr int endOfArchive = -1;

    virtual ~MemberReader() = default;

    // The next member: 0, endOfArchive, or the code that ends the reading. Members whose
    // headers are damaged but can be stepped over are skipped (see SkippedProblem).
    virtual int Next(MemberInfo &info) = 0;
    // The next piece of the current member's data: 0 with a block, or a code for this
    // member; fatal tells whether the archive can still be read after it.
    virtual int ReadBlock(DataBlock &block, bool &fatal) = 0;
    // The code of the first member that was skipped, 0 when none.
    virtual int SkippedProblem() const = 0;
    // Words on the last failure, for the report.
    virtual std::string ErrorText() const = 0;
};

} // namespace arc
