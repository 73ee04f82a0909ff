#pragma once
// ZIP archives holding members of the methods libarchive does not decode (Shrink, Reduce,
// Implode, Deflate64), read through our own central directory reader and decoders. Every
// member of such an archive is read here, whatever its method, and checked against the
// size and CRC-32 of its directory entry: a member that fails never ends in success.

#include "outside/arccommon/memberreader.h"
#include "outside/pkzip/zipdirectory.h"

#include <memory>
#include <vector>

namespace codec {
class CheckedMember;
class Decoder;
class FileRange;
} // namespace codec

namespace arc {

class OldZipReader : public MemberReader
{
public:
    // Whether the ZIP archive at path holds a member libarchive cannot decode.
    static bool Needed(const std::string &path);
    // nullptr with code and text when path is no readable ZIP archive.
    static std::unique_ptr<OldZipReader> Open(const std::string &path, int &code,
                                              std::string &text);
    ~OldZipReader() override;

    int Next(MemberInfo &info) override;
    int ReadBlock(DataBlock &block, bool &fatal) override;
    int SkippedProblem() const override { return skipped_; }
    std::string ErrorText() const override { return errorText_; }

private:
    OldZipReader() = default;
    int OpenFile(const std::string &path);
    int StartData();
    int Fail(int code);

    int fd_ = -1;
    std::uint64_t fileSize_ = 0;
    std::vector<pkzip::ZipEntry> entries_;
    std::size_t next_ = 0;
    int skipped_ = 0; // a damaged directory entry ended the listing early
    const pkzip::ZipEntry *current_ = nullptr;
    std::unique_ptr<codec::FileRange> range_;
    std::unique_ptr<codec::Decoder> decoder_;
    std::unique_ptr<codec::CheckedMember> member_;
    std::vector<unsigned char> buffer_ = std::vector<unsigned char>(64 * 1024);
    std::string errorText_;
};

} // namespace arc
