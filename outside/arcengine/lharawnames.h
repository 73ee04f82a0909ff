#pragma once
// The member names of an LHA archive exactly as stored. libarchive converts LHA names
// into the locale's character set (Shift-JIS names become UTF-8, or fail), but names must
// reach the disk as the bytes the archive holds; so the header at the position libarchive
// reports is read again here, for its name fields only.

#include <cstdint>
#include <string>

namespace arc {

class LhaRawNames
{
public:
    explicit LhaRawNames(const std::string &path);
    ~LhaRawNames();
    LhaRawNames(const LhaRawNames &) = delete;
    LhaRawNames &operator=(const LhaRawNames &) = delete;

    // The stored path of the header at offset (or of the first header after it, for a
    // self-extractor's stub), folders separated by "/". Empty when the header has no
    // 8-bit name (only UTF-16 names) or cannot be read.
    std::string NameAt(std::uint64_t offset) const;

private:
    bool Read(std::uint64_t offset, void *buffer, std::size_t size) const;
    std::string ParseHeader(std::uint64_t offset) const;

    int fd_ = -1;
    std::uint64_t size_ = 0;
};

} // namespace arc
