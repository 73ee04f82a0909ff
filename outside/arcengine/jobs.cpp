#include "jobs.h"

#include "folderwriter.h"
#include "outside/arccommon/membername.h"
#include "outside/include/archiver_api.h"

#include <algorithm>

namespace arc {
namespace {

constexpr std::uint64_t progressStep = 1u << 20;

// The first failure of a run, reported in its Result; every failure gets a Failed record.
class FailureLog
{
public:
    explicit FailureLog(RecordWriter &out)
        : out_(out)
    {
    }

    void Note(const std::string &name, int code, const std::string &text)
    {
        out_.Put(protocol::Encode(protocol::FailedEntry{name, code, text}));
        if (code_ == 0) {
            code_ = code;
            text_ = name.empty() ? text : name + ": " + text;
        }
    }
    void Finish(const MemberReader &reader)
    {
        if (code_ == 0 && reader.SkippedProblem() != 0) {
            code_ = reader.SkippedProblem();
            text_ = "a damaged member was skipped: " + reader.ErrorText();
        }
        out_.Put(protocol::Encode(protocol::ResultEntry{code_, text_}));
        out_.Flush();
    }

private:
    RecordWriter &out_;
    int code_ = 0;
    std::string text_;
};

// The integrity rules of MemberReader, checked on every member whatever its reader says.
class BlockCheck
{
public:
    explicit BlockCheck(const MemberInfo &info)
        : info_(info)
    {
    }

    // 0 for a block that may follow the ones before, else a code and text.
    int Take(const DataBlock &block, std::string &text)
    {
        const std::uint64_t blockEnd = block.offset + block.size;
        if (blockEnd < block.offset || (!info_.sparse && block.offset != end_)) {
            text = "the member's data is out of order";
            return ERROR_DATA_BROKEN;
        }
        if (info_.sizeKnown && !info_.sparse && blockEnd > info_.entry.size) {
            text = "the member holds more data than its header says";
            return ERROR_FILE_CRC;
        }
        end_ = std::max(end_, blockEnd);
        return 0;
    }
    // 0 when the member's data ended where its header says, else a code and text.
    int Finish(std::string &text) const
    {
        if (!info_.sizeKnown || info_.sparse || end_ == info_.entry.size)
            return 0;
        text = "the member's data ends short of its size";
        return ERROR_FILE_CRC;
    }
    // The length of the member so far: for a sparse member at least its declared size.
    std::uint64_t Length() const
    {
        return info_.sparse && info_.sizeKnown ? std::max(end_, info_.entry.size) : end_;
    }

private:
    const MemberInfo &info_;
    std::uint64_t end_ = 0;
};

class Extraction
{
public:
    Extraction(MemberReader &reader, const WorkerJob &job, RecordWriter &out)
        : reader_(reader)
        , job_(job)
        , out_(out)
        , failures_(out)
    {
    }

    void Run()
    {
        const int opened = folder_.Open(job_.folder);
        if (opened != 0) {
            failures_.Note(std::string(), opened, "cannot create the folder " + job_.folder);
            failures_.Finish(reader_);
            return;
        }
        if (const int whole = reader_.CheckWholeArchive()) {
            failures_.Note(std::string(), whole, reader_.ErrorText());
            failures_.Finish(reader_);
            return;
        }
        for (;;) {
            MemberInfo info;
            const int next = reader_.Next(info);
            if (next == MemberReader::endOfArchive)
                break;
            if (next != 0) {
                failures_.Note(std::string(), next, reader_.ErrorText());
                break;
            }
            if (MemberMatchesAny(info.entry.name, job_.masks) && !Extract(info))
                break;
            if (out_.Failed())
                return;
        }
        failures_.Finish(reader_);
    }

private:
    // Answers false when nothing more may be extracted.
    bool Extract(const MemberInfo &info)
    {
        const std::string &name = info.entry.name;
        std::vector<std::string> parts;
        const bool usable = job_.keepFolders ? SafeRelativeParts(name, parts)
                                             : IsUsableFileName(MemberBaseName(name));
        if (!job_.keepFolders)
            parts = {MemberBaseName(name)};

        switch (info.entry.kind) {
        case protocol::MemberKind::Directory:
            if (job_.keepFolders && usable && folder_.MakeFolder(parts) != 0)
                failures_.Note(name, ERROR_MAKEDIRECTORY, "cannot create the folder");
            return true;
        case protocol::MemberKind::File:
            break;
        default:
            failures_.Note(name, ERROR_MEMBER_REFUSED, "links and special files are not created");
            return true;
        }
        if (!usable) {
            failures_.Note(name, ERROR_MEMBER_REFUSED, "the name leads outside the folder");
            return true;
        }
        if (info.refusal != 0) {
            failures_.Note(name, info.refusal, "the member cannot be read");
            return true;
        }
        if (info.sizeKnown && info.entry.size > job_.memberLimit) {
            failures_.Note(name, ERROR_MEMBER_TOO_LARGE, "the member is too large");
            return true;
        }
        if (info.sizeKnown &&
            info.entry.size > job_.totalLimit - std::min(total_, job_.totalLimit)) {
            failures_.Note(name, ERROR_ARCHIVE_TOO_LARGE, "the archive expands too far");
            return false;
        }
        return Write(info, parts);
    }

    bool Write(const MemberInfo &info, const std::vector<std::string> &parts)
    {
        const std::string &name = info.entry.name;
        int code = 0;
        std::unique_ptr<MemberFile> file = folder_.Prepare(parts, code);
        if (!file) {
            failures_.Note(name, code, "cannot create the member's folder");
            return true;
        }
        out_.Put(protocol::Encode(protocol::BeginEntry{info.entry, file->FinalPath()}));
        out_.Put(protocol::EncodeTemp(file->TempPath()));
        out_.Flush();
        if (!out_.Confirm())
            return false;
        if ((code = file->Create()) != 0) {
            failures_.Note(name, code, "cannot create " + file->TempPath());
            return true;
        }
        BlockCheck check(info);
        bool goOn = true;
        if (!CopyData(name, *file, check, goOn))
            return goOn; // the partial file goes with file
        const std::uint64_t size = check.Length();
        out_.Put(protocol::EncodeProgress(size));
        if (!out_.Confirm())
            return false;
        if ((code = file->Commit(size, info.entry.mtime)) != 0) {
            failures_.Note(name, code, "cannot write " + file->FinalPath());
            return true;
        }
        out_.Put(protocol::EncodeDone());
        return true;
    }

    // Copies the member's data into file: true when all of it arrived intact, else false
    // with goOn telling whether other members may still be extracted.
    bool CopyData(const std::string &name, MemberFile &file, BlockCheck &check, bool &goOn)
    {
        std::uint64_t reported = 0;
        for (;;) {
            DataBlock block;
            bool fatal = false;
            int code = reader_.ReadBlock(block, fatal);
            std::string text = code != 0 ? reader_.ErrorText() : std::string();
            if (code == 0)
                code = block.size == 0 ? check.Finish(text) : check.Take(block, text);
            if (code != 0) {
                failures_.Note(name, code, text);
                goOn = !fatal;
                return false;
            }
            if (block.size == 0)
                return true;
            if (block.offset + block.size > job_.memberLimit) {
                failures_.Note(name, ERROR_MEMBER_TOO_LARGE, "the member is too large");
                return false;
            }
            if (block.size > job_.totalLimit - std::min(total_, job_.totalLimit)) {
                failures_.Note(name, ERROR_ARCHIVE_TOO_LARGE, "the archive expands too far");
                goOn = false;
                return false;
            }
            if ((code = file.Write(block.data, block.size, block.offset)) != 0) {
                failures_.Note(name, code, "cannot write " + file.TempPath());
                goOn = code != ERROR_DISK_SPACE;
                return false;
            }
            total_ += block.size;
            if (check.Length() - reported >= progressStep) {
                reported = check.Length();
                out_.Put(protocol::EncodeProgress(reported));
                if (!out_.Confirm()) {
                    goOn = false;
                    return false;
                }
            }
        }
    }

    MemberReader &reader_;
    const WorkerJob &job_;
    RecordWriter &out_;
    FailureLog failures_;
    FolderWriter folder_;
    std::uint64_t total_ = 0;
};

// Reads the current member to its end: 0 when it is intact, else a code and text.
int ReadMember(MemberReader &reader, const MemberInfo &info, bool &fatal, std::string &text)
{
    BlockCheck check(info);
    for (;;) {
        DataBlock block;
        fatal = false;
        int code = reader.ReadBlock(block, fatal);
        if (code != 0)
            text = reader.ErrorText();
        else
            code = block.size == 0 ? check.Finish(text) : check.Take(block, text);
        if (code != 0 || block.size == 0)
            return code;
    }
}

} // namespace

void RunList(MemberReader &reader, RecordWriter &out)
{
    FailureLog failures(out);
    for (std::size_t count = 0;; ++count) {
        MemberInfo info;
        const int next = reader.Next(info);
        if (next == MemberReader::endOfArchive)
            break;
        if (next != 0) {
            failures.Note(std::string(), next, reader.ErrorText());
            break;
        }
        if (count == maxListedMembers) {
            failures.Note(std::string(), ERROR_TOO_MANY_FILES, "too many members");
            break;
        }
        out.Put(protocol::Encode(info.entry));
        if (out.Failed())
            return;
    }
    failures.Finish(reader);
}

void RunExtract(MemberReader &reader, const WorkerJob &job, RecordWriter &out)
{
    Extraction(reader, job, out).Run();
}

void RunTest(MemberReader &reader, const WorkerJob &job, RecordWriter &out)
{
    FailureLog failures(out);
    if (const int whole = reader.CheckWholeArchive()) {
        failures.Note(std::string(), whole, reader.ErrorText());
        failures.Finish(reader);
        return;
    }
    for (;;) {
        MemberInfo info;
        const int next = reader.Next(info);
        if (next == MemberReader::endOfArchive)
            break;
        if (next != 0) {
            failures.Note(std::string(), next, reader.ErrorText());
            break;
        }
        if (info.entry.kind != protocol::MemberKind::File ||
            !MemberMatchesAny(info.entry.name, job.masks))
            continue;
        if (info.refusal != 0) {
            failures.Note(info.entry.name, info.refusal, "the member cannot be read");
            continue;
        }
        bool fatal = false;
        std::string text;
        const int code = ReadMember(reader, info, fatal, text);
        if (code != 0) {
            failures.Note(info.entry.name, code, text);
            if (fatal)
                break;
        }
        if (out.Failed())
            return;
    }
    failures.Finish(reader);
}

} // namespace arc
