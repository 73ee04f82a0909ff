#include "lhasareader.h"

#include "outside/arccommon/bytes.h"
#include "outside/arccommon/signatures.h"
#include "outside/include/archiver_api.h"
#include "rawnames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <lhasa.h>
#include <sys/stat.h>
#include <unistd.h>

namespace arc {
namespace {

using Input = LhasaReader::Input;

// Refills input's buffer from the file at its position, up to its end: the bytes now
// buffered there.
std::size_t Refill(Input &input)
{
    input.bufferAt = input.position;
    input.bufferFill = 0;
    const std::uint64_t at = input.start + input.position;
    const std::size_t want = static_cast<std::size_t>(
        std::min<std::uint64_t>(input.buffer.size(), input.end - std::min(input.end, at)));
    for (;;) {
        const ssize_t n =
            want == 0 ? 0 : ::pread(input.fd, input.buffer.data(), want, static_cast<off_t>(at));
        if (n < 0 && errno == EINTR)
            continue;
        input.bufferFill = n > 0 ? static_cast<std::size_t>(n) : 0;
        return input.bufferFill;
    }
}

// lhasa asks for a few bytes at a time: they come from a buffer of the file.
std::size_t ReadBuffered(Input &input, void *buffer, std::size_t size)
{
    std::size_t got = 0;
    while (got < size) {
        const bool inBuffer =
            input.position >= input.bufferAt && input.position < input.bufferAt + input.bufferFill;
        if (!inBuffer && Refill(input) == 0)
            break;
        const std::size_t at = static_cast<std::size_t>(input.position - input.bufferAt);
        const std::size_t count = std::min(size - got, input.bufferFill - at);
        std::memcpy(static_cast<char *>(buffer) + got, input.buffer.data() + at, count);
        got += count;
        input.position += count;
    }
    return got;
}

// The archive's headers, for lhasa's reader.
int ReadInput(void *handle, void *buffer, size_t size)
{
    auto &input = *static_cast<Input *>(handle);
    const std::size_t got = ReadBuffered(input, buffer, size);
    // A header that the file's end cuts short is damage; the end mark (a 0 byte) or nothing
    // at all is the archive's end.
    if (input.inHeader && got > 0 && got < size && static_cast<const char *>(buffer)[0] != 0)
        input.cutShort = true;
    return static_cast<int>(got);
}

// The current member's packed data, for its decoder.
size_t ReadPacked(void *buffer, size_t size, void *handle)
{
    return ReadBuffered(*static_cast<Input *>(handle), buffer, size);
}

// Steps over data without reading it; fails (lhasa then ends the archive) when the data
// would end beyond the file.
int SkipInput(void *handle, size_t size)
{
    auto &input = *static_cast<Input *>(handle);
    const std::uint64_t left = input.end - std::min(input.end, input.start + input.position);
    if (size > left) {
        input.position += left;
        input.cutShort = true;
        return 0;
    }
    input.position += size;
    return 1;
}

void CloseInput(void *) {}

const LHAInputStreamType inputType = {ReadInput, SkipInput, CloseInput};

bool IsFolder(const LHAFileHeader &header)
{
    return std::strcmp(header.compress_method, LHA_COMPRESS_TYPE_DIR) == 0 &&
           header.symlink_target == nullptr;
}

protocol::MemberKind KindOf(const LHAFileHeader &header)
{
    if (header.symlink_target != nullptr)
        return protocol::MemberKind::Link;
    return IsFolder(header) ? protocol::MemberKind::Directory : protocol::MemberKind::File;
}

} // namespace

std::unique_ptr<LhasaReader> LhasaReader::Open(const std::string &path, int &code,
                                               std::string &text)
{
    std::unique_ptr<LhasaReader> reader(new LhasaReader());
    reader->input_.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (reader->input_.fd < 0) {
        code = ERROR_ARC_FILE_OPEN;
        text = "cannot open the archive";
        return nullptr;
    }
    struct stat file = {};
    if (::fstat(reader->input_.fd, &file) == 0)
        reader->input_.end = static_cast<std::uint64_t>(file.st_size);
    const std::size_t start = ArchiveStart(ArchiveKind::Lha, ReadFileHead(path, signatureScan));
    if (start == std::string::npos) {
        code = ERROR_NOT_ARC_FILE;
        text = "not an LZH archive";
        return nullptr;
    }
    reader->input_.start = start;
    reader->stream_ = lha_input_stream_new(&inputType, &reader->input_);
    if (reader->stream_ != nullptr)
        reader->reader_ = lha_reader_new(reader->stream_);
    if (reader->reader_ == nullptr) {
        code = ERROR_MORE_HEAP_MEMORY;
        text = "out of memory";
        return nullptr;
    }
    lha_reader_set_dir_policy(reader->reader_, LHA_READER_DIR_PLAIN);
    reader->rawNames_ = std::make_unique<LhaRawNames>(path);
    return reader;
}

LhasaReader::~LhasaReader()
{
    if (decoder_ != nullptr)
        lha_decoder_free(decoder_);
    if (reader_ != nullptr)
        lha_reader_free(reader_);
    if (stream_ != nullptr)
        lha_input_stream_free(stream_);
    if (input_.fd >= 0)
        ::close(input_.fd);
}

std::string LhasaReader::NameOf(const LHAFileHeader &header) const
{
    // The header lies just before the position lhasa has reached.
    if (header.raw_data_len <= input_.position) {
        std::string raw = rawNames_->NameAt(input_.start + input_.position - header.raw_data_len);
        if (!raw.empty())
            return header.symlink_target != nullptr ? raw.substr(0, raw.find('|')) : raw;
    }
    std::string name = header.path != nullptr ? header.path : "";
    if (header.filename != nullptr)
        name += header.filename;
    return name;
}

int LhasaReader::Next(MemberInfo &info)
{
    input_.inHeader = true;
    current_ = lha_reader_next_file(reader_);
    input_.inHeader = false;
    if (current_ == nullptr) {
        if (firstHeader_) {
            errorText_ = "the first member header is damaged";
            return ERROR_NOT_ARC_FILE;
        }
        if (input_.cutShort && skipped_ == 0) {
            skipped_ = ERROR_HEADER_BROKEN;
            errorText_ = "the archive ends inside a member header";
        }
        return endOfArchive;
    }
    firstHeader_ = false;
    const LHAFileHeader &header = *current_;
    info = MemberInfo();
    info.entry.name = NameOf(header);
    info.entry.kind = KindOf(header);
    info.entry.size = header.length;
    info.entry.compressedSize = header.compressed_length;
    info.entry.crc = header.crc;
    info.entry.mtime = header.timestamp;
    info.entry.osType = header.os_type;
    info.entry.method = header.compress_method;
    info.sizeKnown = true;
    if (info.entry.kind == protocol::MemberKind::File &&
        lha_decoder_for_name(current_->compress_method) == nullptr)
        info.refusal = ERROR_METHOD;
    // The packed data follows the header; lhasa's reader steps over it for the next one.
    if (decoder_ != nullptr)
        lha_decoder_free(decoder_);
    decoder_ = nullptr;
    packed_.fd = input_.fd;
    packed_.start = input_.start + input_.position;
    packed_.end = std::min(input_.end, packed_.start + header.compressed_length);
    packed_.position = 0;
    packed_.bufferFill = 0;
    return 0;
}

int LhasaReader::EndOfMember()
{
    if (lha_decoder_get_length(decoder_) != current_->length) {
        errorText_ = "the member's data ends short of its size";
        return ERROR_FILE_CRC;
    }
    if (lha_decoder_get_crc(decoder_) != current_->crc) {
        errorText_ = "CRC-16 of the member does not match";
        return ERROR_FILE_CRC;
    }
    return 0;
}

int LhasaReader::ReadBlock(DataBlock &block, bool &fatal)
{
    fatal = false;
    block = DataBlock();
    if (current_ == nullptr || KindOf(*current_) != protocol::MemberKind::File)
        return 0;
    if (decoder_ == nullptr) {
        // Decoded here rather than through lhasa's reader, for the decoder's own CRC-16.
        LHADecoderType *const method = lha_decoder_for_name(current_->compress_method);
        if (method == nullptr) {
            errorText_ = "the member's method is unknown";
            return ERROR_METHOD;
        }
        decoder_ = lha_decoder_new(method, ReadPacked, &packed_, current_->length);
        if (decoder_ == nullptr) {
            errorText_ = "out of memory";
            return ERROR_MORE_HEAP_MEMORY;
        }
        offset_ = 0;
    }
    const std::size_t got = lha_decoder_read(decoder_, buffer_.data(), buffer_.size());
    if (got == 0)
        return EndOfMember();
    block = FollowingBlock(buffer_.data(), got, offset_);
    return 0;
}

} // namespace arc
