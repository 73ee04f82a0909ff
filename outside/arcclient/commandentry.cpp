// The command entry: parses the command line, has the helper extract, relays its progress
// to the owner window, and writes the report into the caller's buffer.

#include "libraryentries.h"
#include "memberrecords.h"
#include "outside/arccommon/limits.h"
#include "ownerwindow.h"
#include "workerprocess.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <sys/stat.h>

namespace arc {
namespace {

constexpr std::size_t maxReport = 64 * 1024;

class Report
{
public:
    void Line(const std::string &text)
    {
        if (text_.size() < maxReport)
            text_ += text + "\n";
    }
    void CopyTo(char *output, uint32_t size) const
    {
        if (output == nullptr || size == 0)
            return;
        const std::size_t length = std::min<std::size_t>(text_.size(), size - 1);
        std::memcpy(output, text_.data(), length);
        output[length] = '\0';
    }

private:
    std::string text_;
};

// Relays the helper's records: progress to the owner window, outcomes to the report.
class ExtractionHandler : public RecordHandler
{
public:
    ExtractionHandler(const OwnerWindow &owner, Report &report)
        : owner_(owner)
        , report_(report)
    {
    }

    bool OnRecord(protocol::RecordType type, const std::string &payload) override
    {
        switch (type) {
        case protocol::RecordType::Begin:
            if (!protocol::Decode(payload, current_))
                return false;
            return !Notify(ARCEXTRACT_BEGIN, 0);
        case protocol::RecordType::Progress: {
            std::uint64_t written = 0;
            return protocol::DecodeNumber(payload, written) &&
                   !Notify(ARCEXTRACT_INPROCESS, written);
        }
        case protocol::RecordType::Done:
            report_.Line(current_.member.name);
            return true;
        case protocol::RecordType::Failed: {
            protocol::FailedEntry failed;
            if (!protocol::Decode(payload, failed))
                return false;
            report_.Line((failed.name.empty() ? std::string() : failed.name + ": ") + failed.text);
            return true;
        }
        default:
            return true;
        }
    }

private:
    bool Notify(unsigned state, std::uint64_t written)
    {
        if (!owner_.Present())
            return false;
        EXTRACTINGINFOEX info;
        FillExtractingInfo(current_.member, current_.destination, written, info);
        return owner_.Send(state, info);
    }

    const OwnerWindow &owner_;
    Report &report_;
    protocol::BeginEntry current_;
};

std::string Hex(int code)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(code));
    return text;
}

// The archive the command names must be a regular file; 0, or the error code reported.
int CheckArchive(const std::string &archive, Report &report)
{
    struct stat info = {};
    if (::stat(archive.c_str(), &info) != 0) {
        report.Line("cannot find " + archive);
        return ERROR_NOT_FIND_ARC_FILE;
    }
    if (!S_ISREG(info.st_mode)) {
        report.Line(archive + " is not a file");
        return ERROR_NOT_ARC_FILE;
    }
    return 0;
}

WorkerJob ExtractJob(const LibraryProfile &profile, const ExtractRequest &request,
                     const Limits &limits)
{
    WorkerJob job;
    job.operation = JobOperation::Extract;
    job.kind = profile.kind;
    job.archive = request.archive;
    job.folder = request.folder.empty() ? std::string(".") : request.folder;
    job.keepFolders = request.keepFolders;
    job.memberLimit = limits.memberBytes;
    job.totalLimit = limits.totalBytes;
    job.cpuSeconds = static_cast<unsigned>(std::ceil(limits.seconds)) + 1;
    job.masks = request.masks;
    return job;
}

// What the worker's run comes to: its own result code, or the code of how it stopped.
int RunOutcome(const WorkerRun &run, const Limits &limits, Report &report)
{
    switch (run.outcome) {
    case WorkerOutcome::Finished:
        if (run.result.code != 0)
            report.Line("error " + Hex(run.result.code) + ": " + run.result.text);
        return run.result.code;
    case WorkerOutcome::TimedOut:
        report.Line("stopped: the time budget of " + std::to_string(limits.seconds) + " s ran out");
        return ERROR_TIME_BUDGET;
    case WorkerOutcome::Cancelled:
        report.Line("stopped by the owner window");
        return ERROR_USER_CANCEL;
    case WorkerOutcome::Failed:
        report.Line("the archive reader ended abnormally");
        return ERROR_WORKER_FAILED;
    case WorkerOutcome::NotStarted:
        break;
    }
    report.Line("cannot start " + WorkerProgramPath());
    return ERROR_WORKER_FAILED;
}

int Extract(const LibraryProfile &profile, const char *commandLine, Report &report)
{
    if (commandLine == nullptr) {
        report.Line("no command line");
        return ERROR_COMMAND_NAME;
    }
    ExtractRequest request;
    std::string error;
    if (const int code = ParseCommandLine(profile.style, commandLine, request, error); code != 0) {
        report.Line(error);
        return code;
    }
    if (const int code = CheckArchive(request.archive, report); code != 0)
        return code;

    const Limits limits = Limits::FromEnvironment();
    WorkerJob job = ExtractJob(profile, request, limits);
    const OwnerWindow owner = OwnerWindow::Current();
    job.confirmProgress = owner.Present();
    EXTRACTINGINFOEX opening;
    protocol::MemberEntry archive;
    archive.name = request.archive;
    FillExtractingInfo(archive, job.folder, 0, opening);
    if (owner.Send(ARCEXTRACT_OPEN, opening)) {
        report.Line("stopped by the owner window");
        return ERROR_USER_CANCEL;
    }
    ExtractionHandler handler(owner, report);
    const WorkerRun run = RunWorker(job, limits.seconds, handler);
    owner.Send(ARCEXTRACT_END, opening);
    return RunOutcome(run, limits, report);
}

} // namespace

int CommandEntry(const LibraryProfile &profile, HWND, const char *commandLine, char *output,
                 uint32_t outputSize)
{
    Report report;
    int code = 0;
    try {
        code = Extract(profile, commandLine, report);
    } catch (const std::bad_alloc &) {
        code = ERROR_MORE_HEAP_MEMORY;
    } catch (...) {
        code = ERROR_WORKER_FAILED;
    }
    report.CopyTo(output, outputSize);
    return code;
}

int SetOwnerWindowExEntry(HWND window, void *callback)
{
    return OwnerWindow::Set(window, callback) ? 1 : 0;
}

int KillOwnerWindowExEntry(HWND window)
{
    return OwnerWindow::Kill(window) ? 1 : 0;
}

} // namespace arc
