// Listing, checking and probing: OpenArchive reads the member list through the helper,
// the quick probe and CheckArchive's rapid mode look at the file's signature only.

#include "libraryentries.h"
#include "listingtable.h"
#include "outside/arccommon/limits.h"
#include "outside/arccommon/signatures.h"
#include "workerprocess.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace arc {
namespace {

// The tar probe reads one header; it gets little time even under a long budget.
constexpr double tarProbeSeconds = 5.0;

bool ReadAt(int fd, std::uint64_t offset, std::string &out, std::size_t size)
{
    out.assign(size, '\0');
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got =
            ::pread(fd, out.data() + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    out.resize(done);
    return done == size;
}

// The first and last bytes of a regular file, as much as signatures need.
bool ReadSignatureWindows(const char *path, std::string &head, std::string &tail)
{
    if (path == nullptr)
        return false;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat info = {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        const auto size = static_cast<std::uint64_t>(info.st_size);
        const std::size_t headSize =
            static_cast<std::size_t>(std::min<std::uint64_t>(size, signatureScan));
        const std::size_t tailSize =
            static_cast<std::size_t>(std::min<std::uint64_t>(size, zipTailScan));
        ok = ReadAt(fd, 0, head, headSize) && ReadAt(fd, size - tailSize, tail, tailSize);
    }
    ::close(fd);
    return ok;
}

bool IsRegularFile(const char *path)
{
    struct stat info = {};
    return path != nullptr && ::stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

class CollectingHandler : public RecordHandler
{
public:
    bool OnRecord(protocol::RecordType type, const std::string &payload) override
    {
        if (type == protocol::RecordType::Member) {
            protocol::MemberEntry member;
            if (!protocol::Decode(payload, member))
                return false;
            members.push_back(std::move(member));
        } else if (type == protocol::RecordType::TarType) {
            std::uint64_t value = 0;
            if (!protocol::DecodeNumber(payload, value))
                return false;
            holdsTar = value != 0;
        }
        return true;
    }

    std::vector<protocol::MemberEntry> members;
    bool holdsTar = false;
};

WorkerJob JobFor(JobOperation operation, ArchiveKind kind, const std::string &path,
                 const Limits &limits)
{
    WorkerJob job;
    job.operation = operation;
    job.kind = kind;
    job.archive = path;
    job.memberLimit = limits.memberBytes;
    job.totalLimit = limits.totalBytes;
    job.cpuSeconds = static_cast<unsigned>(std::ceil(limits.seconds)) + 1;
    return job;
}

// Whether the helper reads path as a sound archive of kind (test: every member's data too).
bool HelperAccepts(JobOperation operation, ArchiveKind kind, const char *path)
{
    const Limits limits = Limits::FromEnvironment();
    CollectingHandler handler;
    const WorkerRun run = RunWorker(JobFor(operation, kind, path, limits), limits.seconds, handler);
    return run.outcome == WorkerOutcome::Finished && run.result.code == 0;
}

HARC OpenListing(const LibraryProfile &profile, const char *path, uint32_t mode)
{
    if (!IsRegularFile(path))
        return 0;
    if ((mode & M_CHECK_ARCHIVE_PROBE) == M_CHECK_ARCHIVE_PROBE) {
        std::string head, tail;
        if (!ReadSignatureWindows(path, head, tail) || !LooksLikeArchive(profile.kind, head, tail))
            return 0;
        return ListingTable::Add({});
    }
    const Limits limits = Limits::FromEnvironment();
    CollectingHandler handler;
    const WorkerRun run =
        RunWorker(JobFor(JobOperation::List, profile.kind, path, limits), limits.seconds, handler);
    // A damaged archive that still yields members is listed with those; one that runs out
    // of time is not listed at all, since extracting it would run out of time as well.
    if (run.outcome != WorkerOutcome::Finished || (run.result.code != 0 && handler.members.empty()))
        return 0;
    return ListingTable::Add(std::move(handler.members));
}

int CheckArchive(const LibraryProfile &profile, const char *path, int mode)
{
    std::string head, tail;
    if (!ReadSignatureWindows(path, head, tail) || !LooksLikeArchive(profile.kind, head, tail))
        return 0;
    switch (mode & 3) {
    case CHECKARCHIVE_RAPID:
        return 1;
    case CHECKARCHIVE_BASIC:
        return HelperAccepts(JobOperation::List, profile.kind, path) ? 1 : 0;
    default:
        return HelperAccepts(JobOperation::Test, profile.kind, path) ? 1 : 0;
    }
}

int TarArchiveType(const char *path)
{
    std::string head, tail;
    if (!ReadSignatureWindows(path, head, tail))
        return ARCHIVETYPE_UNREADABLE;
    const Compression compression = CompressionOf(head);
    if (compression == Compression::None)
        return TarHeaderAt(head, 0) ? ARCHIVETYPE_TAR : ARCHIVETYPE_NONE;
    if (compression != Compression::Gzip && compression != Compression::Compress &&
        compression != Compression::Bzip2)
        return ARCHIVETYPE_NONE;
    const Limits limits = Limits::FromEnvironment();
    CollectingHandler handler;
    const WorkerRun run = RunWorker(JobFor(JobOperation::TarType, ArchiveKind::Tar, path, limits),
                                    std::min(limits.seconds, tarProbeSeconds), handler);
    const bool holdsTar = run.outcome == WorkerOutcome::Finished && handler.holdsTar;
    switch (compression) {
    case Compression::Gzip:
        return holdsTar ? ARCHIVETYPE_TARGZ : ARCHIVETYPE_GZ;
    case Compression::Compress:
        return holdsTar ? ARCHIVETYPE_TARZ : ARCHIVETYPE_Z;
    default:
        return holdsTar ? ARCHIVETYPE_TARBZ2 : ARCHIVETYPE_BZ2;
    }
}

template<typename Function, typename Result>
Result Guarded(Function function, Result failure)
{
    try {
        return function();
    } catch (...) {
        return failure;
    }
}

} // namespace

HARC OpenArchiveEntry(const LibraryProfile &profile, HWND, const char *archivePath, uint32_t mode)
{
    return Guarded([&] { return OpenListing(profile, archivePath, mode); }, HARC(0));
}

int CloseArchiveEntry(HARC archive)
{
    return Guarded([&] { return ListingTable::Remove(archive); }, ERROR_HARC_ISNOT_OPENED);
}

int FindFirstEntry(HARC archive, const char *wildcard, INDIVIDUALINFO *info)
{
    return Guarded([&] { return ListingTable::FindFirst(archive, wildcard, info); },
                   ERROR_MORE_HEAP_MEMORY);
}

int FindNextEntry(HARC archive, INDIVIDUALINFO *info)
{
    return Guarded([&] { return ListingTable::FindNext(archive, info); }, ERROR_MORE_HEAP_MEMORY);
}

int CheckArchiveEntry(const LibraryProfile &profile, const char *archivePath, int mode)
{
    return Guarded([&] { return CheckArchive(profile, archivePath, mode); }, 0);
}

int TarGetArchiveTypeEntry(const char *archivePath)
{
    return Guarded([&] { return TarArchiveType(archivePath); }, ARCHIVETYPE_UNREADABLE);
}

} // namespace arc
