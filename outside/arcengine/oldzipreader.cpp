#include "oldzipreader.h"

#include "outside/arccommon/crc32.h"
#include "outside/codecio/checkedmember.h"
#include "outside/codecio/dostime.h"
#include "outside/codecio/filerange.h"
#include "outside/include/archiver_api.h"
#include "outside/pkzip/zipdecoders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace arc {
namespace {

constexpr std::uint8_t hostUnix = 3;
constexpr std::uint32_t unixTypeMask = 0170000;
constexpr std::uint32_t unixDirectory = 0040000;
constexpr std::uint32_t unixLink = 0120000;
constexpr std::uint32_t dosDirectory = 0x10;

std::string Describe(int code)
{
    switch (code) {
    case ERROR_FILE_CRC:
        return "CRC-32 of the member does not match";
    case ERROR_PASSWORD_FILE:
        return "the member is encrypted";
    case ERROR_METHOD:
        return "unknown compression method";
    case ERROR_NOT_ARC_FILE:
        return "not a ZIP archive";
    case ERROR_ARC_FILE_OPEN:
        return "cannot open the archive";
    case ERROR_CANNOT_READ:
        return "cannot read the archive";
    case ERROR_HEADER_BROKEN:
        return "damaged ZIP directory";
    default:
        return "the member's data is damaged or ends early";
    }
}

protocol::MemberKind KindOf(const pkzip::ZipEntry &entry)
{
    const std::uint32_t unixMode = entry.externalAttributes >> 16;
    if (entry.hostOs == hostUnix && (unixMode & unixTypeMask) == unixLink)
        return protocol::MemberKind::Link;
    if (entry.IsDirectory() ||
        (entry.hostOs == hostUnix && (unixMode & unixTypeMask) == unixDirectory) ||
        (entry.hostOs != hostUnix && (entry.externalAttributes & dosDirectory) != 0))
        return protocol::MemberKind::Directory;
    return protocol::MemberKind::File;
}

} // namespace

OldZipReader::~OldZipReader()
{
    member_.reset();
    decoder_.reset();
    range_.reset();
    if (fd_ >= 0)
        ::close(fd_);
}

int OldZipReader::OpenFile(const std::string &path)
{
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info = {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))
        return ERROR_ARC_FILE_OPEN;
    fileSize_ = static_cast<std::uint64_t>(info.st_size);
    const int result = pkzip::ReadZipDirectory(fd_, fileSize_, entries_);
    if (result == ERROR_HEADER_BROKEN && !entries_.empty()) {
        skipped_ = result; // the members before the damage still come out
        return 0;
    }
    return result;
}

bool OldZipReader::Needed(const std::string &path)
{
    OldZipReader probe;
    if (probe.OpenFile(path) != 0)
        return false;
    for (const pkzip::ZipEntry &entry : probe.entries_)
        if (pkzip::IsOldMethod(entry.method))
            return true;
    return false;
}

std::unique_ptr<OldZipReader> OldZipReader::Open(const std::string &path, int &code,
                                                 std::string &text)
{
    std::unique_ptr<OldZipReader> reader(new OldZipReader());
    code = reader->OpenFile(path);
    if (code != 0) {
        text = Describe(code);
        return nullptr;
    }
    return reader;
}

int OldZipReader::Fail(int code)
{
    errorText_ = Describe(code);
    return code;
}

int OldZipReader::Next(MemberInfo &info)
{
    member_.reset();
    decoder_.reset();
    range_.reset();
    current_ = nullptr;
    if (next_ == entries_.size())
        return endOfArchive;
    const pkzip::ZipEntry &entry = entries_[next_++];
    current_ = &entry;
    info = MemberInfo();
    info.entry.name = entry.name;
    info.entry.kind = KindOf(entry);
    info.entry.size = entry.size;
    info.entry.compressedSize = entry.compressedSize;
    info.entry.crc = entry.crc;
    info.entry.mtime = entry.unixTime >= 0 ? entry.unixTime : codec::DosTimeToUnix(entry.dosTime);
    info.entry.osType = entry.hostOs;
    info.entry.method = pkzip::MethodName(entry.method);
    info.sizeKnown = true;
    if (entry.Encrypted())
        info.refusal = ERROR_PASSWORD_FILE;
    return 0;
}

int OldZipReader::StartData()
{
    if (current_->Encrypted())
        return ERROR_PASSWORD_FILE;
    std::uint64_t offset = 0;
    if (!pkzip::ZipDataOffset(fd_, fileSize_, *current_, offset))
        return ERROR_DATA_BROKEN;
    range_ = std::make_unique<codec::FileRange>(fd_, offset, current_->compressedSize);
    decoder_ = pkzip::MakeDecoder(*current_, *range_);
    if (!decoder_)
        return ERROR_METHOD;
    member_ = std::make_unique<codec::CheckedMember>(*decoder_, range_.get(), current_->size,
                                                     current_->crc, &Crc32);
    return 0;
}

int OldZipReader::ReadBlock(DataBlock &block, bool &fatal)
{
    fatal = false;
    block = DataBlock();
    if (current_ == nullptr)
        return Fail(ERROR_CANNOT_READ);
    if (!member_) {
        const int started = StartData();
        if (started != 0)
            return Fail(started);
    }
    const int result = member_->ReadBlock(buffer_, block);
    return result != 0 ? Fail(result) : 0;
}

} // namespace arc
