#pragma once
// LZH archives (LHarc, LHA, LArc, PMarc) as a MemberReader, read with lhasa: methods -lh0-,
// -lh1-, -lh4- to -lh7-, -lzs-, -lz4-, -lz5-, -pm0- to -pm2- and -lhd- folders, header
// levels 0 to 3. Names keep the bytes the archive stores (LhaRawNames).
//
// A self-extractor's program head of any size up to signatureScan is stepped over: the
// archive is read from the first member header found in it. Every member's CRC-16 and
// length are checked against its header (see MemberReader).

#include "outside/arccommon/memberreader.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

struct _LHAReader;
struct _LHAInputStream;
struct _LHAFileHeader;
struct _LHADecoder;

namespace arc {

class LhaRawNames;

class LhasaReader : public MemberReader
{
public:
    // nullptr with code and text when path is no readable LZH archive.
    static std::unique_ptr<LhasaReader> Open(const std::string &path, int &code, std::string &text);
    ~LhasaReader() override;
    LhasaReader(const LhasaReader &) = delete;
    LhasaReader &operator=(const LhasaReader &) = delete;

    int Next(MemberInfo &info) override;
    int ReadBlock(DataBlock &block, bool &fatal) override;
    int SkippedProblem() const override { return skipped_; }
    std::string ErrorText() const override { return errorText_; }

    // An input: the archive file from the first header on, with the position lhasa has
    // reached, or the current member's packed data. Public for the C callbacks only.
    struct Input
    {
        int fd = -1;
        std::uint64_t end = UINT64_MAX; // file offset where it ends (the file's size)
        std::uint64_t start = 0;        // file offset of the first header
        std::uint64_t position = 0;     // bytes of the archive consumed so far, from start
        bool inHeader = false;          // lhasa is reading a header now
        bool cutShort = false;          // a header or skipped data ran into the end of the file
        std::vector<char> buffer = std::vector<char>(64 * 1024);
        std::uint64_t bufferAt = 0; // position of buffer[0]
        std::size_t bufferFill = 0; // bytes valid in buffer
    };

private:
    LhasaReader() = default;
    std::string NameOf(const _LHAFileHeader &header) const;
    int EndOfMember();

    Input input_;
    Input packed_; // of the current member
    _LHAInputStream *stream_ = nullptr;
    _LHAReader *reader_ = nullptr;
    _LHAFileHeader *current_ = nullptr;
    _LHADecoder *decoder_ = nullptr; // of the current member, once its data is read
    std::unique_ptr<LhaRawNames> rawNames_;
    std::array<unsigned char, 64 * 1024> buffer_{};
    std::uint64_t offset_ = 0; // bytes of the current member handed out
    bool firstHeader_ = true;
    int skipped_ = 0;
    std::string errorText_;
};

} // namespace arc
