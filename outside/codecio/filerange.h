#pragma once
// The compressed bytes of one member: a range of the open archive file, read on demand.

#include "bytesource.h"

#include <cstdint>

namespace codec {

class FileRange : public ByteSource
{
public:
    // Bytes [offset, offset + length) of fd, which must stay open while this is used.
    FileRange(int fd, std::uint64_t offset, std::uint64_t length);

    std::size_t Read(unsigned char *buffer, std::size_t size) override;
    // True once a read of the file failed, or the file ended inside the range (Truncated).
    bool Failed() const { return failed_; }
    bool Truncated() const { return truncated_; }
    // Bytes of the range not read yet.
    std::uint64_t Left() const { return left_; }

private:
    int fd_;
    std::uint64_t offset_;
    std::uint64_t left_;
    bool failed_ = false;
    bool truncated_ = false;
};

} // namespace codec
