#include "memberrecords.h"

#include "outside/arccommon/codepage.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace arc {
namespace {

std::uint32_t Clamp32(std::uint64_t value)
{
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, UINT32_MAX));
}

void CopyText(const std::string &text, char *out, std::size_t capacity)
{
    const std::string cut = TruncateText(text, capacity - 1, NameEncoding(text));
    std::memcpy(out, cut.data(), cut.size());
    out[cut.size()] = '\0';
}

// MS-DOS date and time (local time) of a time since 1970; 0 when unknown or before 1980.
void DosStamp(std::int64_t mtime, std::uint16_t &date, std::uint16_t &time)
{
    date = time = 0;
    if (mtime <= 0)
        return;
    const std::time_t seconds = static_cast<std::time_t>(mtime);
    std::tm parts{};
    if (localtime_r(&seconds, &parts) == nullptr || parts.tm_year < 80 || parts.tm_year > 207)
        return;
    date = static_cast<std::uint16_t>((parts.tm_year - 80) << 9 | (parts.tm_mon + 1) << 5 |
                                      parts.tm_mday);
    time = static_cast<std::uint16_t>(parts.tm_hour << 11 | parts.tm_min << 5 | parts.tm_sec / 2);
}

std::uint16_t Ratio(const protocol::MemberEntry &member)
{
    if (member.size == 0 || member.compressedSize == 0)
        return 0;
    return static_cast<std::uint16_t>(
        std::min<std::uint64_t>(member.compressedSize * 1000 / member.size, 65535));
}

const char *Attribute(protocol::MemberKind kind)
{
    switch (kind) {
    case protocol::MemberKind::Directory:
        return "d---";
    case protocol::MemberKind::Link:
        return "l---";
    case protocol::MemberKind::File:
        return "----";
    default:
        return "s---";
    }
}

} // namespace

void FillIndividualInfo(const protocol::MemberEntry &member, INDIVIDUALINFO &info)
{
    std::memset(&info, 0, sizeof info);
    info.dwOriginalSize = Clamp32(member.size);
    info.dwCompressedSize = Clamp32(member.compressedSize);
    info.dwCRC = member.crc;
    info.uOSType = member.osType;
    info.wRatio = Ratio(member);
    DosStamp(member.mtime, info.wDate, info.wTime);
    CopyText(member.name, info.szFileName, sizeof info.szFileName);
    CopyText(Attribute(member.kind), info.szAttribute, sizeof info.szAttribute);
    CopyText(member.method, info.szMode, sizeof info.szMode);
}

void FillExtractingInfo(const protocol::MemberEntry &member, const std::string &destination,
                        std::uint64_t written, EXTRACTINGINFOEX &info)
{
    std::memset(&info, 0, sizeof info);
    info.exinfo.dwFileSize = Clamp32(member.size);
    info.exinfo.dwWriteSize = Clamp32(written);
    CopyText(member.name, info.exinfo.szSourceFileName, sizeof info.exinfo.szSourceFileName);
    CopyText(destination, info.exinfo.szDestFileName, sizeof info.exinfo.szDestFileName);
    info.dwCompressedSize = Clamp32(member.compressedSize);
    info.dwCRC = member.crc;
    info.uOSType = member.osType;
    info.wRatio = Ratio(member);
    DosStamp(member.mtime, info.wDate, info.wTime);
    CopyText(Attribute(member.kind), info.szAttribute, sizeof info.szAttribute);
    CopyText(member.method, info.szMode, sizeof info.szMode);
}

} // namespace arc
