// The archiver helper: does one listing, extraction, test or tar probe that an archiver
// library asked for, and reports over its standard output (records of
// outside/arccommon/protocol.h). The library waits for it under a deadline and kills it
// when the deadline passes, so a reader that loops or crashes on a damaged archive costs
// the calling program a result code, never a hang.

#include "outside/arccommon/workerjob.h"
#include "outside/arcengine/arjreader.h"
#include "outside/arcengine/folderwriter.h"
#include "outside/arcengine/jobs.h"
#include "outside/arcengine/lhasareader.h"
#include "outside/arcengine/libarchivereader.h"
#include "outside/arcengine/oldzipreader.h"
#include "outside/arcengine/recordwriter.h"
#include "outside/include/archiver_api.h"
#include "rarengine.h"

#include <clocale>
#include <csignal>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int reportFd = 1;
constexpr int replyFd = 0;

void SetLimit(int resource, rlim_t value)
{
    const struct rlimit limit = {value, value};
    setrlimit(resource, &limit);
}

// Backstops beside the caller's deadline: no core files, processor time, file size.
void LimitSelf(const arc::WorkerJob &job)
{
    SetLimit(RLIMIT_CORE, 0);
    if (job.cpuSeconds > 0)
        SetLimit(RLIMIT_CPU, job.cpuSeconds);
    if (job.operation == arc::JobOperation::Extract)
        SetLimit(RLIMIT_FSIZE, job.memberLimit + 1);
#if !defined(__SANITIZE_ADDRESS__)
    SetLimit(RLIMIT_AS, rlim_t(2) << 30);
#endif
}

std::string OwnFolder()
{
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0)
        return ".";
    path.resize(static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::unique_ptr<arc::MemberReader> OpenReader(const arc::WorkerJob &job, int &code,
                                              std::string &text)
{
    switch (job.kind) {
    case arc::ArchiveKind::Arj:
        return arc::ArjReader::Open(job.archive, code, text);
    case arc::ArchiveKind::Lha:
        return arc::LhasaReader::Open(job.archive, code, text);
    case arc::ArchiveKind::Rar:
        return arc::RarEngineReader::Open(OwnFolder(), job.archive, code, text);
    case arc::ArchiveKind::Zip:
        // PKZIP 1.x methods and Deflate64 are ours; libarchive reads every other ZIP.
        if (arc::OldZipReader::Needed(job.archive))
            return arc::OldZipReader::Open(job.archive, code, text);
        return arc::LibarchiveReader::Open(job.kind, job.archive, code, text);
    default:
        return arc::LibarchiveReader::Open(job.kind, job.archive, code, text);
    }
}

} // namespace

#if defined(__SANITIZE_ADDRESS__)
// libarchive asks for absurd sizes on some damaged headers and copes when the allocator
// refuses them, as the system's allocator does; AddressSanitizer's would abort instead.
extern "C" __attribute__((visibility("default"))) const char *__asan_default_options()
{
    return "allocator_may_return_null=1";
}
#endif

int main(int argc, char **argv)
{
    // Die with the caller; write errors instead of signals.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    closefrom(3);
    // Names stored as Unicode come out of libarchive as UTF-8; all others unconverted.
    std::setlocale(LC_CTYPE, "C.UTF-8");

    arc::WorkerJob job;
    if (!arc::WorkerJob::FromArguments(std::vector<std::string>(argv + 1, argv + argc), job))
        return 2;
    LimitSelf(job);

    arc::RecordWriter out(reportFd, job.confirmProgress ? replyFd : -1);
    if (job.operation == arc::JobOperation::TarType) {
        out.Put(arc::protocol::EncodeTarType(arc::LibarchiveReader::HoldsTar(job.archive)));
        out.Put(arc::protocol::Encode(arc::protocol::ResultEntry{0, std::string()}));
        return 0;
    }
    // The target folder exists afterwards even when the archive turns out unreadable.
    if (job.operation == arc::JobOperation::Extract)
        arc::MakeFolders(job.folder);
    int code = 0;
    std::string text;
    const std::unique_ptr<arc::MemberReader> reader = OpenReader(job, code, text);
    if (!reader) {
        out.Put(arc::protocol::Encode(arc::protocol::ResultEntry{code, text}));
        return 0;
    }
    switch (job.operation) {
    case arc::JobOperation::List:
        arc::RunList(*reader, out);
        break;
    case arc::JobOperation::Extract:
        arc::RunExtract(*reader, job, out);
        break;
    default:
        arc::RunTest(*reader, job, out);
        break;
    }
    return 0;
}
