#include "arjreader.h"

#include "outside/include/archiver_api.h"

namespace arc {
namespace {

std::string Describe(int code)
{
    switch (code) {
    case ERROR_FILE_CRC:
        return "CRC-32 of the member does not match";
    case ERROR_HEADER_CRC:
        return "CRC-32 of a header does not match";
    case ERROR_PASSWORD_FILE:
        return "the member is encrypted";
    case ERROR_NOT_SUPPORT:
        return "the member continues in another volume";
    case ERROR_METHOD:
        return "unknown compression method";
    case ERROR_NOT_ARC_FILE:
        return "not an ARJ archive";
    case ERROR_ARC_FILE_OPEN:
        return "cannot open the archive";
    default:
        return "damaged ARJ archive";
    }
}

std::string MethodName(int method)
{
    return method == 0 ? "store" : "arj-m" + std::to_string(method);
}

} // namespace

std::unique_ptr<ArjReader> ArjReader::Open(const std::string &path, int &code, std::string &text)
{
    std::unique_ptr<ArjReader> reader(new ArjReader());
    code = reader->archive_.Open(path);
    if (code != 0) {
        text = Describe(code);
        return nullptr;
    }
    return reader;
}

int ArjReader::Next(MemberInfo &info)
{
    for (;;) {
        arj::ArjMember member;
        const int result = archive_.Next(member);
        if (result == -1)
            return endOfArchive;
        if (result != 0) {
            errorText_ = Describe(result);
            return result;
        }
        if (member.fileType == arj::typeVolumeLabel || member.fileType == arj::typeChapter ||
            member.fileType == arj::typeComment)
            continue;
        info = MemberInfo();
        info.entry.name = member.name;
        info.entry.kind = member.fileType == arj::typeDirectory ? protocol::MemberKind::Directory
                                                                : protocol::MemberKind::File;
        info.entry.size = member.originalSize;
        info.entry.compressedSize = member.compressedSize;
        info.entry.crc = member.crc;
        info.entry.mtime = member.mtime;
        info.entry.osType = member.hostOs;
        info.entry.method = MethodName(member.method);
        info.sizeKnown = true;
        if (member.Encrypted())
            info.refusal = ERROR_PASSWORD_FILE;
        else if (member.Split())
            info.refusal = ERROR_NOT_SUPPORT;
        else if (member.method > 4)
            info.refusal = ERROR_METHOD;
        offset_ = 0;
        return 0;
    }
}

int ArjReader::ReadBlock(DataBlock &block, bool &fatal)
{
    fatal = false;
    std::size_t got = 0;
    const int result = archive_.Read(buffer_.data(), buffer_.size(), got);
    if (result != 0) {
        errorText_ = Describe(result);
        return result;
    }
    block = FollowingBlock(buffer_.data(), got, offset_);
    return 0;
}

} // namespace arc
