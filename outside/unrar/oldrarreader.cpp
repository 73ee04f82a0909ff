#include "oldrarreader.h"

#include "outside/arccommon/crc32.h"
#include "outside/arcengine/rawnames.h"
#include "outside/codecio/checkedmember.h"
#include "outside/codecio/dostime.h"
#include "outside/codecio/filerange.h"
#include "outside/codecio/storeddecoder.h"
#include "outside/include/archiver_api.h"
#include "outside/oldrar/unpack15.h"
#include "unarrsession.h"

#include <algorithm>

namespace unrar {
namespace {

constexpr int maxProbedMembers = 100000;

std::string Describe(int code)
{
    switch (code) {
    case ERROR_FILE_CRC:
        return "the checksum of the member does not match";
    case ERROR_PASSWORD_FILE:
        return "the member is encrypted";
    case ERROR_NOT_SUPPORT:
        return "the member continues in another volume";
    case ERROR_METHOD:
        return "unknown compression method";
    case ERROR_NOT_ARC_FILE:
        return "not a RAR archive";
    case ERROR_ARC_FILE_OPEN:
        return "cannot open the archive";
    case ERROR_HEADER_BROKEN:
        return "damaged RAR header";
    case ERROR_CANNOT_READ:
        return "cannot read the archive";
    default:
        return "the member's data is damaged or ends early";
    }
}

// The additive checksum of RAR 1.3 and 1.4 members: 16 bits, rotated left after each byte.
std::uint32_t Checksum14(std::uint32_t sum, const void *data, std::size_t size)
{
    const auto *bytes = static_cast<const unsigned char *>(data);
    for (std::size_t i = 0; i < size; ++i) {
        sum = (sum + bytes[i]) & 0xFFFF;
        sum = ((sum << 1) | (sum >> 15)) & 0xFFFF;
    }
    return sum;
}

std::string MethodName(const oldrar::RarMember &member)
{
    if (member.method == oldrar::methodStore)
        return "store";
    return "rar" + std::to_string(member.unpackVersion / 10) + "." +
           std::to_string(member.unpackVersion % 10) + "-m" +
           std::to_string(member.method - oldrar::methodStore);
}

bool IsUnarrVersion(std::uint8_t version)
{
    return version == 20 || version == 26 || version == 29;
}

std::string NameOf(const oldrar::RarMember &member)
{
    if (!member.unicodeName)
        return arc::DosSeparatorsToSlashes(member.name);
    std::string name = member.name;
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

} // namespace

OldRarReader::OldRarReader() = default;

OldRarReader::~OldRarReader()
{
    DropMember();
}

bool OldRarReader::Needed(const std::string &path)
{
    oldrar::RarArchive archive;
    if (archive.Open(path) != 0)
        return false;
    if (archive.ArchiveFormat() == oldrar::Format::Rar14)
        return true;
    oldrar::RarMember member;
    for (int count = 0; count < maxProbedMembers && archive.Next(member) == 0; ++count) {
        const bool compressed = member.method != oldrar::methodStore;
        if ((compressed && member.unpackVersion < 29) || member.solid || member.headerDamaged)
            return true;
    }
    return false;
}

std::unique_ptr<OldRarReader> OldRarReader::Open(const std::string &path, int &code,
                                                 std::string &text)
{
    std::unique_ptr<OldRarReader> reader(new OldRarReader());
    reader->path_ = path;
    code = reader->archive_.Open(path);
    if (code != 0) {
        text = Describe(code);
        return nullptr;
    }
    return reader;
}

int OldRarReader::Fail(int code)
{
    errorText_ = Describe(code);
    return code;
}

void OldRarReader::DropMember()
{
    member_.reset();
    decoder_.reset();
    range_.reset();
}

// A solid member needs the RAR 1.5 decoder where the member before it left it: the rest
// of that member is decoded and dropped.
void OldRarReader::FinishSolidPredecessor()
{
    if (!haveCurrent_ || currentDone_ || current_.method == oldrar::methodStore ||
        current_.unpackVersion != 15)
        return;
    if (!member_ && StartData() != 0) {
        unpack15Sound_ = false;
        return;
    }
    for (std::size_t got = 1; got > 0;) {
        const int result = member_->Read(buffer_.data(), buffer_.size(), got);
        if (result != 0) {
            unpack15Sound_ = result == ERROR_FILE_CRC;
            return;
        }
    }
}

int OldRarReader::Next(arc::MemberInfo &info)
{
    oldrar::RarMember member;
    const int result = archive_.Next(member);
    if (result == -1 || result != 0) {
        DropMember();
        haveCurrent_ = false;
        if (result == -1)
            return endOfArchive;
        return Fail(result);
    }
    if (member.solid && member.unpackVersion < 20)
        FinishSolidPredecessor();
    DropMember();
    current_ = member;
    haveCurrent_ = true;
    currentDone_ = false;
    info = arc::MemberInfo();
    info.entry.name = NameOf(member);
    info.entry.kind = member.IsLink()        ? arc::protocol::MemberKind::Link
                      : member.IsDirectory() ? arc::protocol::MemberKind::Directory
                                             : arc::protocol::MemberKind::File;
    info.entry.size = member.size;
    info.entry.compressedSize = member.packedSize;
    info.entry.crc = member.checksum;
    info.entry.mtime = codec::DosTimeToUnix(member.dosTime);
    info.entry.osType = member.hostOs;
    info.entry.method = MethodName(member);
    info.sizeKnown = true;
    info.refusal = Refusal(member);
    return 0;
}

int OldRarReader::Refusal(const oldrar::RarMember &member) const
{
    if (member.Encrypted())
        return ERROR_PASSWORD_FILE;
    if (member.Split())
        return ERROR_NOT_SUPPORT;
    if (member.method < oldrar::methodStore || member.method > oldrar::methodStore + 5)
        return ERROR_METHOD;
    if (member.method != oldrar::methodStore && member.unpackVersion != 15 &&
        !IsUnarrVersion(member.unpackVersion))
        return ERROR_METHOD;
    return 0;
}

int OldRarReader::StartData()
{
    const int refused = Refusal(current_);
    if (refused != 0)
        return refused;
    const bool rar14 = archive_.ArchiveFormat() == oldrar::Format::Rar14;
    range_ =
        std::make_unique<codec::FileRange>(archive_.Fd(), current_.dataOffset, current_.packedSize);
    if (current_.method == oldrar::methodStore) {
        decoder_ = std::make_unique<codec::StoredDecoder>(*range_);
    } else if (current_.unpackVersion == 15) {
        if (!unpack15_)
            unpack15_ = std::make_unique<oldrar::Unpack15>();
        if (!current_.solid)
            unpack15Sound_ = true;
        else if (!unpack15Sound_)
            return ERROR_DATA_BROKEN; // the member it continues did not decode
        unpack15_->Start(*range_, current_.size, current_.solid);
        decoder_ = std::make_unique<oldrar::Unpack15Member>(*unpack15_);
    } else {
        if (!unarr_)
            unarr_ = std::make_unique<UnarrSession>();
        if (!unarr_->Seek(path_, current_.headerOffset))
            return ERROR_DATA_BROKEN;
        decoder_ = unarr_->MemberDecoder();
    }
    member_ = std::make_unique<codec::CheckedMember>(*decoder_, range_.get(), current_.size,
                                                     current_.checksum,
                                                     rar14 ? &Checksum14 : &arc::Crc32);
    return 0;
}

int OldRarReader::ReadBlock(arc::DataBlock &block, bool &fatal)
{
    fatal = false;
    block = arc::DataBlock();
    if (!haveCurrent_)
        return Fail(ERROR_CANNOT_READ);
    if (!member_) {
        const int started = StartData();
        if (started != 0) {
            if (current_.unpackVersion == 15)
                unpack15Sound_ = false;
            currentDone_ = true;
            return Fail(started);
        }
    }
    const int result = member_->ReadBlock(buffer_, block);
    if (result != 0) {
        // After a checksum mismatch the decoder's state is still that of the stream, and
        // solid members after it are decoded (and checked) as usual.
        if (current_.unpackVersion == 15 && result != ERROR_FILE_CRC)
            unpack15Sound_ = false;
        currentDone_ = true;
        return Fail(result);
    }
    currentDone_ = block.size == 0;
    return 0;
}

} // namespace unrar
