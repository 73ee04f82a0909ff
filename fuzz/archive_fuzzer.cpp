// One archiver library's reading of any bytes: the listing and the extraction its helper
// process performs, through libarchive, lhasa (LZH) or our own readers and decoders (ARJ;
// ZIP with PKZIP 1.x methods or Deflate64; RAR before RAR 5 with old methods or solid). The
// kind is fixed per target by FUZZ_ARCHIVE_KIND. Every report must be well-formed records, and
// extraction must write nothing but plain files and folders inside its target folder, and
// no file there but the members it reports complete.
//
// Known: libarchive 3.6.2 itself loops forever on some damaged RAR 5 and nested gzip
// input. The product bounds that in the helper process (deadline, processor time); here it
// shows as a libFuzzer timeout whose stack lies inside libarchive.

#include "fuzzsupport.h"

#include "outside/arcengine/arjreader.h"
#include "outside/arcengine/jobs.h"
#include "outside/arcengine/lhasareader.h"
#include "outside/arcengine/libarchivereader.h"
#include "outside/arcengine/oldzipreader.h"
#include "outside/arcengine/recordwriter.h"
#include "outside/arj/arjdecoder.h"
#include "outside/codecio/memorysource.h"
#include "outside/unrar/oldrarreader.h"

#include <cstring>
#include <filesystem>
#include <set>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr arc::ArchiveKind kind = arc::ArchiveKind::FUZZ_ARCHIVE_KIND;

// An anonymous in-memory file that collects the helper's records.
class RecordSink
{
public:
    RecordSink()
        : fd_(::memfd_create("records", MFD_CLOEXEC))
    {
        if (fd_ < 0)
            fuzzing::Fail("memfd_create failed");
    }
    ~RecordSink() { ::close(fd_); }
    RecordSink(const RecordSink &) = delete;
    RecordSink &operator=(const RecordSink &) = delete;

    int Fd() const { return fd_; }
    std::string Contents() const
    {
        std::string data(static_cast<std::size_t>(::lseek(fd_, 0, SEEK_END)), '\0');
        if (::pread(fd_, data.data(), data.size(), 0) != static_cast<ssize_t>(data.size()))
            fuzzing::Fail("cannot read the records back");
        return data;
    }

private:
    int fd_;
};

// Every record decodes, and the last one is the Result. Returns where the members that
// were completed (a Begin followed by its Done) were written.
std::set<std::string> CheckRecords(const std::string &stream)
{
    arc::protocol::RecordParser parser;
    parser.Feed(stream.data(), stream.size());
    arc::protocol::RecordType type{};
    std::string payload;
    std::set<std::string> completed;
    std::string current;
    bool result = false;
    while (parser.Next(type, payload)) {
        if (result)
            fuzzing::Fail("a record follows the Result");
        bool decoded = true;
        switch (type) {
        case arc::protocol::RecordType::Member: {
            arc::protocol::MemberEntry entry;
            decoded = arc::protocol::Decode(payload, entry);
            break;
        }
        case arc::protocol::RecordType::Begin: {
            arc::protocol::BeginEntry entry;
            decoded = arc::protocol::Decode(payload, entry);
            current = entry.destination;
            break;
        }
        case arc::protocol::RecordType::Done:
            completed.insert(current);
            break;
        case arc::protocol::RecordType::Failed: {
            arc::protocol::FailedEntry entry;
            decoded = arc::protocol::Decode(payload, entry);
            break;
        }
        case arc::protocol::RecordType::Result: {
            arc::protocol::ResultEntry entry;
            decoded = arc::protocol::Decode(payload, entry);
            result = true;
            break;
        }
        default:
            break;
        }
        if (!decoded)
            fuzzing::Fail("a record does not decode");
    }
    if (parser.Broken() || parser.HasPartial() || !result)
        fuzzing::Fail("the record stream is broken or has no Result");
    return completed;
}

std::unique_ptr<arc::MemberReader> OpenReader(const std::string &path)
{
    int code = 0;
    std::string text;
    // The reader the helper (ZIP) or the RAR engine (RAR) would choose.
    if constexpr (kind == arc::ArchiveKind::Arj)
        return arc::ArjReader::Open(path, code, text);
    else if constexpr (kind == arc::ArchiveKind::Lha)
        return arc::LhasaReader::Open(path, code, text);
    if (kind == arc::ArchiveKind::Zip && arc::OldZipReader::Needed(path))
        return arc::OldZipReader::Open(path, code, text);
    if (kind == arc::ArchiveKind::Rar && unrar::OldRarReader::Needed(path))
        return unrar::OldRarReader::Open(path, code, text);
    return arc::LibarchiveReader::Open(kind, path, code, text);
}

// Only plain files and folders below out, and no file but the completed members: no
// temporary file, no half-written member.
void CheckWritten(const std::string &folder, const std::string &out,
                  const std::set<std::string> &completed)
{
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "input" && name != "out")
            fuzzing::Fail("extraction wrote " + name + " beside its target folder");
    }
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(out, error);
         it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        const auto status = it->symlink_status();
        if (std::filesystem::is_directory(status))
            continue;
        if (!std::filesystem::is_regular_file(status))
            fuzzing::Fail("extraction created something other than a file or folder");
        if (completed.count(it->path().string()) == 0)
            fuzzing::Fail("extraction left " + it->path().string() + ", not a completed member");
    }
}

// The archive's CRC-32 checks keep most damaged data away from the decoder, so ARJ input
// is also decoded as a bare compressed stream: byte 0 picks the method, bytes 1 and 2 the
// original size.
[[maybe_unused]] void DecodeBareArjStream(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return;
    const int method = 1 + data[0] % 4;
    const std::uint64_t originalSize = std::uint64_t{data[1]} << 8 | data[2];
    codec::MemorySource source(data + 3, size - 3);
    arj::ArjDecoder decoder(method, originalSize, source);
    std::vector<unsigned char> out(4096);
    std::uint64_t produced = 0;
    while (const std::size_t n = decoder.Decode(out.data(), out.size()))
        produced += n;
    if (produced > originalSize || (produced < originalSize && !decoder.Broken()))
        fuzzing::Fail("the decoder's output does not match the original size");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if constexpr (kind == arc::ArchiveKind::Arj)
        DecodeBareArjStream(data, size);

    const std::string &folder = fuzzing::PrivateFolder();
    const std::string archive = folder + "/input";
    fuzzing::WriteWholeFile(archive, data, size);

    if (auto reader = OpenReader(archive)) {
        RecordSink records;
        {
            arc::RecordWriter out(records.Fd());
            arc::RunList(*reader, out);
        }
        CheckRecords(records.Contents());
    }

    if (auto reader = OpenReader(archive)) {
        arc::WorkerJob job;
        job.operation = arc::JobOperation::Extract;
        job.kind = kind;
        job.archive = archive;
        job.folder = folder + "/out";
        job.keepFolders = size % 2 == 0;
        job.memberLimit = 1u << 20;
        job.totalLimit = 4u << 20;
        if (size % 3 == 0)
            job.masks = {"*.mid", "*.rcp"};
        RecordSink records;
        {
            arc::RecordWriter out(records.Fd());
            arc::RunExtract(*reader, job, out);
        }
        CheckWritten(folder, job.folder, CheckRecords(records.Contents()));
        fuzzing::RemoveTree(job.folder);
    }
    return 0;
}
