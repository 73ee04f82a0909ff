#pragma once
// Members of ZIP, CAB, TAR (plain or compressed, or a lone compressed file) and RAR
// archives, read with libarchive (LZH is read with lhasa, ARJ with our own decoder). Each kind
// enables only its own formats, so a library never reads another library's kind of archive. Names
// keep the bytes the archive stores.
//
// libarchive must be used under a UTF-8 locale (the helper sets C.UTF-8): names that are
// stored as Unicode then come out as UTF-8, and all others come out unconverted.

#include "outside/arccommon/memberreader.h"
#include "outside/arccommon/workerjob.h"

#include <memory>
#include <string>

struct archive;
struct archive_entry;

namespace arc {

class FileWindow;
class RawNames;
class ZipCentralCrcs;

class LibarchiveReader : public MemberReader
{
public:
    // Opens path as an archive of kind (not Lha or Arj): nullptr with code and text when it
    // cannot.
    static std::unique_ptr<LibarchiveReader> Open(ArchiveKind kind, const std::string &path,
                                                  int &code, std::string &text);
    ~LibarchiveReader() override;

    int Next(MemberInfo &info) override;
    int ReadBlock(DataBlock &block, bool &fatal) override;
    // A compressed TAR (or lone compressed file) is read through once: the compression's
    // own checks (gzip's CRC-32 and length, bzip2's and xz's CRCs) cover the whole stream.
    int CheckWholeArchive() override;
    int SkippedProblem() const override { return skipped_; }
    std::string ErrorText() const override { return errorText_; }

    // Whether the file at path, compressed or not, holds a TAR archive. Only the first
    // header is read, through a single decompression filter chosen by the file's signature.
    static bool HoldsTar(const std::string &path);

private:
    LibarchiveReader(ArchiveKind kind, const std::string &path);
    // Opens a new libarchive reading of the archive, or of window when given: 0, or the
    // code and text.
    int StartReading(FileWindow *window, std::string &text);
    int Fail(int code);
    std::string NameOf(struct archive_entry *entry) const;
    // Fills info for the member entry named name, which libarchive's header read answered
    // with result, and readies the reading of its data.
    void Describe(struct archive_entry *entry, const std::string &name, int result,
                  MemberInfo &info);
    // Whether the ZIP member's data so far and then data match its central directory's
    // CRC-32 (libarchive checks the local header's, which may be a dummy).
    bool MatchesCentralCrc(const void *data, std::size_t size) const;

    ArchiveKind kind_;
    std::string path_;
    std::unique_ptr<FileWindow> window_; // the archive behind a large program head
    struct archive *archive_ = nullptr;
    std::unique_ptr<RawNames> rawNames_; // for formats whose names libarchive rewrites
    std::unique_ptr<ZipCentralCrcs> zipCrcs_;
    std::uint64_t headerPosition_ = 0; // of the current member
    std::uint32_t dataCrc_ = 0;        // CRC-32 of the current ZIP member's data so far
    bool endPending_ = false;          // the block handed out last ended the member
    bool crcWanted_ = false;           // dataCrc_ is being computed
    bool bareCompressedFile_ = false;  // a .gz/.bz2/... holding no archive
    bool firstHeader_ = true;
    int skipped_ = 0;
    std::string errorText_;
};

} // namespace arc
