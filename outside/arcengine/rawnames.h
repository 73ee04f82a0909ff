#pragma once
// Member names exactly as an archive stores them. The libraries rewrite some names:
// libarchive converts LHA names into the locale's character set (Shift-JIS names become
// UTF-8, or fail) and turns every "\" byte of an 8-bit RAR 4 name into "/", also the second
// byte of a Shift-JIS character; a "\" byte also separates folders for lhasa. Names must
// reach the disk as the bytes the archive holds, so the header the library is about to
// read is read again here, for its name fields only.

#include <cstdint>
#include <string>

namespace arc {

class RawNames
{
public:
    explicit RawNames(const std::string &path);
    virtual ~RawNames();
    RawNames(const RawNames &) = delete;
    RawNames &operator=(const RawNames &) = delete;

    // The stored path of the first member header at or after offset (the library's header
    // position), folders separated by "/". Empty when the header stores no 8-bit name or
    // cannot be read: the library's name is right then.
    virtual std::string NameAt(std::uint64_t offset) const = 0;

protected:
    bool Read(std::uint64_t offset, void *buffer, std::size_t size) const;
    std::uint64_t Size() const { return size_; }

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

class LhaRawNames : public RawNames
{
public:
    using RawNames::RawNames;
    std::string NameAt(std::uint64_t offset) const override;

private:
    // The name fields a header gives, from its base part and its extended headers.
    struct Names
    {
        std::string file;
        std::string folder;
        bool haveFile = false;
        bool dosName = false; // a level 0/1 name, with "\\" between folders
        bool unicodeFile = false;
    };
    // Where a header's first extended header starts and how large it is.
    struct Extended
    {
        std::uint64_t position = 0;
        std::uint32_t nextSize = 0;
        int sizeBytes = 2;
    };

    std::string ParseHeader(std::uint64_t offset) const;
    // Reads the base part at offset; false when it is cut short or malformed.
    bool ReadBase(std::uint64_t offset, Names &names, Extended &extended) const;
    void ReadExtended(Extended extended, Names &names) const;
};

class Rar4RawNames : public RawNames
{
public:
    using RawNames::RawNames;
    std::string NameAt(std::uint64_t offset) const override;
};

// "\" between folders, as MS-DOS and Windows archivers write it, turned into "/" where it
// is a character of its own (NameEncoding).
std::string DosSeparatorsToSlashes(std::string name);

} // namespace arc
