#include "libarchivereader.h"

#include "filewindow.h"
#include "outside/arccommon/bytes.h"
#include "outside/arccommon/crc32.h"
#include "outside/arccommon/membername.h"
#include "outside/arccommon/signatures.h"
#include "outside/include/archiver_api.h"
#include "rawnames.h"
#include "zipcentral.h"

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>
#include <zlib.h>

namespace arc {
namespace {

constexpr int maxRetries = 16;
constexpr int maxSkippedInARow = 100000;
constexpr std::size_t readBlockSize = 64 * 1024;

bool Contains(const char *text, const char *word)
{
    return text != nullptr && strcasestr(text, word) != nullptr;
}

// The interface's code for a failure libarchive describes only in words.
int DataErrorCode(const char *text)
{
    if (Contains(text, "crc") || Contains(text, "checksum") || Contains(text, "size mismatch"))
        return ERROR_FILE_CRC;
    if (Contains(text, "encrypt") || Contains(text, "passphrase") || Contains(text, "password"))
        return ERROR_PASSWORD_FILE;
    if (Contains(text, "unsupported") || Contains(text, "not supported"))
        return ERROR_METHOD;
    return ERROR_DATA_BROKEN;
}

void EnableFormats(struct archive *a, ArchiveKind kind)
{
    switch (kind) {
    case ArchiveKind::Zip:
        archive_read_support_format_zip(a);
        break;
    case ArchiveKind::Cab:
        archive_read_support_format_cab(a);
        break;
    case ArchiveKind::Tar:
        archive_read_support_format_tar(a);
        archive_read_support_format_gnutar(a);
        archive_read_support_format_raw(a);
        // Only filters libarchive decodes with a library of its own: without one it would
        // hand the data to an outside program.
        if (archive_zlib_version() != nullptr)
            archive_read_support_filter_gzip(a);
        if (archive_bzlib_version() != nullptr)
            archive_read_support_filter_bzip2(a);
        if (archive_liblzma_version() != nullptr) {
            archive_read_support_filter_xz(a);
            archive_read_support_filter_lzma(a);
            archive_read_support_filter_lzip(a);
        }
        if (archive_libzstd_version() != nullptr)
            archive_read_support_filter_zstd(a);
        archive_read_support_filter_compress(a);
        break;
    case ArchiveKind::Rar:
        archive_read_support_format_rar(a);
        archive_read_support_format_rar5(a);
        break;
    case ArchiveKind::Lha: // read with lhasa (LhasaReader)
    case ArchiveKind::Arj: // read with our own decoder (ArjReader)
        break;
    }
}

protocol::MemberKind KindOf(struct archive_entry *entry)
{
    if (archive_entry_hardlink(entry) != nullptr || archive_entry_symlink(entry) != nullptr)
        return protocol::MemberKind::Link;
    switch (archive_entry_filetype(entry)) {
    case AE_IFREG:
    case 0:
        return protocol::MemberKind::File;
    case AE_IFDIR:
        return protocol::MemberKind::Directory;
    case AE_IFLNK:
        return protocol::MemberKind::Link;
    case AE_IFCHR:
    case AE_IFBLK:
    case AE_IFIFO:
    case AE_IFSOCK:
        return protocol::MemberKind::Device;
    default:
        return protocol::MemberKind::Other;
    }
}

// The name a lone compressed file ("song.mid.gz") is written under: its own name without
// the compression's extension.
std::string BareFileName(const std::string &archivePath)
{
    std::string name = MemberBaseName(archivePath);
    for (const char *suffix : {".gz", ".bz2", ".z", ".xz", ".lzma", ".lz", ".zst", ".tgz"}) {
        const std::size_t length = std::strlen(suffix);
        if (name.size() > length && strcasecmp(name.c_str() + name.size() - length, suffix) == 0) {
            name.resize(name.size() - length);
            return name;
        }
    }
    return name.empty() ? std::string("data") : name + ".out";
}

// Decompresses the gzip stream (every member of it) at path with zlib, which checks each
// member's CRC-32 and length; libarchive does not. 0, or the code and text.
int CheckGzipStream(const std::string &path, std::string &text)
{
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr) {
        text = "cannot open the archive";
        return ERROR_ARC_FILE_OPEN;
    }
    std::vector<char> buffer(readBlockSize);
    int got = 0;
    while ((got = gzread(file, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0) {
    }
    int error = Z_OK;
    const char *reason = gzerror(file, &error);
    if (got < 0 || error != Z_OK)
        text = std::string("the compressed stream is damaged: ") + (reason ? reason : "");
    gzclose(file);
    if (got >= 0 && error == Z_OK)
        return 0;
    return error == Z_DATA_ERROR ? ERROR_FILE_CRC : ERROR_DATA_BROKEN;
}

} // namespace

LibarchiveReader::LibarchiveReader(ArchiveKind kind, const std::string &path)
    : kind_(kind)
    , path_(path)
{
}

LibarchiveReader::~LibarchiveReader()
{
    if (archive_ != nullptr)
        archive_read_free(archive_);
}

std::unique_ptr<LibarchiveReader> LibarchiveReader::Open(ArchiveKind kind, const std::string &path,
                                                         int &code, std::string &text)
{
    std::unique_ptr<LibarchiveReader> reader(new LibarchiveReader(kind, path));
    code = reader->StartReading(nullptr, text);
    if (code == ERROR_NOT_ARC_FILE) {
        // libarchive looks for an archive only a short way into a self-extractor: further
        // in, it reads from the header the probe finds.
        const std::size_t start = ArchiveStart(kind, ReadFileHead(path, signatureScan));
        if (start != std::string::npos && start > 0)
            reader->window_ = FileWindow::Open(path, start);
        std::string ignored;
        if (reader->window_ && reader->StartReading(reader->window_.get(), ignored) == 0)
            code = 0;
    }
    if (code != 0)
        return nullptr;
    if (kind == ArchiveKind::Rar)
        reader->rawNames_ = std::make_unique<Rar4RawNames>(path);
    else if (kind == ArchiveKind::Zip)
        reader->zipCrcs_ = std::make_unique<ZipCentralCrcs>(path);
    return reader;
}

int LibarchiveReader::StartReading(FileWindow *window, std::string &text)
{
    if (archive_ != nullptr)
        archive_read_free(archive_);
    archive_ = archive_read_new();
    if (archive_ == nullptr) {
        text = "out of memory";
        return ERROR_MORE_HEAP_MEMORY;
    }
    EnableFormats(archive_, kind_);
    const int opened = window != nullptr
                           ? window->OpenArchive(archive_)
                           : archive_read_open_filename(archive_, path_.c_str(), readBlockSize);
    if (opened == ARCHIVE_OK)
        return 0;
    const int number = archive_errno(archive_);
    const char *reason = archive_error_string(archive_);
    text = reason != nullptr ? reason : "not an archive";
    return (number == ENOENT || number == EACCES || number == EISDIR) ? ERROR_ARC_FILE_OPEN
                                                                      : ERROR_NOT_ARC_FILE;
}

int LibarchiveReader::Fail(int code)
{
    const char *reason = archive_error_string(archive_);
    errorText_ = reason != nullptr ? reason : "damaged archive";
    return code;
}

std::string LibarchiveReader::NameOf(struct archive_entry *entry) const
{
    if (bareCompressedFile_)
        return BareFileName(path_);
    if (rawNames_ && archive_format(archive_) != ARCHIVE_FORMAT_RAR_V5) {
        const std::uint64_t start = window_ ? window_->Start() : 0;
        const std::string raw = rawNames_->NameAt(
            start + static_cast<std::uint64_t>(archive_read_header_position(archive_)));
        if (!raw.empty())
            return raw;
    }
    if (const char *name = archive_entry_pathname(entry))
        return name;
    if (const char *name = archive_entry_pathname_utf8(entry))
        return name;
    return std::string();
}

int LibarchiveReader::Next(MemberInfo &info)
{
    // Damaged headers are stepped over, but libarchive may report the same one for ever:
    // a header failing again where the last one failed, or too many in a row, ends it.
    la_int64_t failedAt = -1;
    int failedAgain = 0;
    for (int retries = 0, skipped = 0;;) {
        struct archive_entry *entry = nullptr;
        const int r = archive_read_next_header(archive_, &entry);
        if (r == ARCHIVE_EOF)
            return endOfArchive;
        if (r == ARCHIVE_RETRY && ++retries < maxRetries)
            continue;
        if (r == ARCHIVE_FATAL || r == ARCHIVE_RETRY)
            return Fail(firstHeader_ ? ERROR_NOT_ARC_FILE : ERROR_HEADER_BROKEN);
        if (firstHeader_ && kind_ == ArchiveKind::Tar &&
            archive_format(archive_) == ARCHIVE_FORMAT_RAW) {
            // Raw data is an archive only when a decompression filter unwrapped it.
            if (archive_filter_code(archive_, 0) == ARCHIVE_FILTER_NONE) {
                errorText_ = "not a TAR archive or a compressed file";
                return ERROR_NOT_ARC_FILE;
            }
            bareCompressedFile_ = true;
        }
        firstHeader_ = false;
        const std::string name = NameOf(entry);
        if (r == ARCHIVE_FAILED || name.empty()) {
            if (skipped_ == 0) {
                skipped_ = ERROR_HEADER_BROKEN;
                Fail(0);
            }
            const la_int64_t position = archive_read_header_position(archive_);
            failedAgain = position == failedAt ? failedAgain + 1 : 0;
            failedAt = position;
            if (failedAgain >= maxRetries || ++skipped >= maxSkippedInARow)
                return Fail(ERROR_HEADER_BROKEN);
            continue;
        }
        Describe(entry, name, r, info);
        return 0;
    }
}

void LibarchiveReader::Describe(struct archive_entry *entry, const std::string &name, int result,
                                MemberInfo &info)
{
    info = MemberInfo();
    info.entry.name = name;
    info.entry.kind = KindOf(entry);
    info.sizeKnown = archive_entry_size_is_set(entry) != 0;
    if (info.sizeKnown && archive_entry_size(entry) > 0)
        info.entry.size = static_cast<std::uint64_t>(archive_entry_size(entry));
    if (archive_entry_mtime_is_set(entry))
        info.entry.mtime = archive_entry_mtime(entry);
    info.sparse = archive_entry_sparse_count(entry) > 0;
    dataCrc_ = 0;
    // libarchive checks a ZIP member against its local header's CRC-32; only when that
    // differs from the central directory's (it warns then) is the data's own CRC needed.
    crcWanted_ = zipCrcs_ && result == ARCHIVE_WARN;
    endPending_ = false;
    headerPosition_ = static_cast<std::uint64_t>(archive_read_header_position(archive_));
    if (archive_entry_is_data_encrypted(entry))
        info.refusal = ERROR_PASSWORD_FILE;
}

int LibarchiveReader::ReadBlock(DataBlock &block, bool &fatal)
{
    fatal = false;
    if (endPending_) {
        endPending_ = false;
        block = DataBlock();
        return 0;
    }
    for (int empty = 0;; ++empty) {
        const void *data = nullptr;
        std::size_t size = 0;
        la_int64_t offset = 0;
        const int r = archive_read_data_block(archive_, &data, &size, &offset);
        if (r == ARCHIVE_EOF) {
            block = DataBlock();
            return 0;
        }
        // libarchive reports a member whose CRC or size does not match only as a warning:
        // such a member is damaged like any other.
        if (r != ARCHIVE_OK) {
            fatal = r == ARCHIVE_FATAL;
            const int code = DataErrorCode(archive_error_string(archive_));
            if (code != ERROR_FILE_CRC || fatal || !MatchesCentralCrc(data, size))
                return Fail(code);
            // libarchive ended the member, with its last block or after it.
            endPending_ = size != 0;
            block = DataBlock{data, size, static_cast<std::uint64_t>(offset)};
            return 0;
        }
        if (offset < 0)
            return Fail(ERROR_DATA_BROKEN);
        // libarchive may hand out empty blocks before the end; only a run of them is damage.
        if (size == 0 && empty < maxRetries)
            continue;
        if (size == 0)
            return Fail(ERROR_DATA_BROKEN);
        if (crcWanted_)
            dataCrc_ = Crc32(dataCrc_, data, size);
        block.data = data;
        block.size = size;
        block.offset = static_cast<std::uint64_t>(offset);
        return 0;
    }
}

int LibarchiveReader::CheckWholeArchive()
{
    if (kind_ != ArchiveKind::Tar)
        return 0;
    std::string head(4, '\0');
    if (FILE *file = std::fopen(path_.c_str(), "rb")) {
        head.resize(std::fread(head.data(), 1, head.size(), file));
        std::fclose(file);
    }
    const Compression compression = CompressionOf(head);
    if (compression == Compression::None)
        return 0;
    if (compression == Compression::Gzip) {
        const int code = CheckGzipStream(path_, errorText_);
        if (code != 0)
            return code;
    }
    // The other decompressors check their streams as libarchive reads them through.
    struct archive *a = archive_read_new();
    if (a == nullptr)
        return Fail(ERROR_MORE_HEAP_MEMORY);
    EnableFormats(a, kind_);
    int code = 0;
    if (archive_read_open_filename(a, path_.c_str(), readBlockSize) == ARCHIVE_OK) {
        for (int headers = 0, r = ARCHIVE_OK; r != ARCHIVE_EOF && headers < maxSkippedInARow;
             ++headers) {
            struct archive_entry *entry = nullptr;
            r = archive_read_next_header(a, &entry);
            if (r == ARCHIVE_FATAL) {
                const char *reason = archive_error_string(a);
                errorText_ = reason != nullptr ? reason : "the compressed stream is damaged";
                code = DataErrorCode(reason);
                break;
            }
        }
    }
    archive_read_free(a);
    return code;
}

bool LibarchiveReader::MatchesCentralCrc(const void *data, std::size_t size) const
{
    std::uint32_t central = 0;
    return crcWanted_ && zipCrcs_->CrcAt(headerPosition_, central) &&
           central == Crc32(dataCrc_, data, size);
}

bool LibarchiveReader::HoldsTar(const std::string &path)
{
    unsigned char magic[4] = {};
    FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    const std::size_t got = std::fread(magic, 1, sizeof magic, file);
    std::fclose(file);
    int filter = ARCHIVE_FILTER_NONE;
    if (got >= 2 && magic[0] == 0x1F && magic[1] == 0x8B)
        filter = ARCHIVE_FILTER_GZIP;
    else if (got >= 2 && magic[0] == 0x1F && magic[1] == 0x9D)
        filter = ARCHIVE_FILTER_COMPRESS;
    else if (got >= 3 && std::memcmp(magic, "BZh", 3) == 0)
        filter = ARCHIVE_FILTER_BZIP2;

    struct archive *a = archive_read_new();
    if (a == nullptr)
        return false;
    if (filter != ARCHIVE_FILTER_NONE)
        archive_read_append_filter(a, filter);
    archive_read_support_format_tar(a);
    archive_read_support_format_gnutar(a);
    bool isTar = false;
    if (archive_read_open_filename(a, path.c_str(), readBlockSize) == ARCHIVE_OK) {
        struct archive_entry *entry = nullptr;
        const int r = archive_read_next_header(a, &entry);
        isTar = (r == ARCHIVE_OK || r == ARCHIVE_WARN) &&
                (archive_format(a) & ARCHIVE_FORMAT_BASE_MASK) == ARCHIVE_FORMAT_TAR;
    }
    archive_read_free(a);
    return isTar;
}

} // namespace arc
