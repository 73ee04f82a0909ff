#include "support/bigfiles.h"

#include <array>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace testing_support {
namespace {

void Put(std::string &out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutBE(std::string &out, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t Crc32(const std::string &data)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : data)
        crc = table[(crc ^ static_cast<unsigned char>(c)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::uint64_t StatusValue(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::stoull(line.substr(prefix.size())) * 1024; // reported in kB
    return 0;
}

} // namespace

std::string MakeManyEventsSmf(std::size_t events)
{
    std::string track;
    track.reserve(events * 3 + 16);
    track += std::string("\x00\x90\x3C\x64", 4);
    for (std::size_t i = 1; i < events; ++i) {
        track += '\x01';
        track += '\x3C';
        track += (i % 2 == 0) ? '\x64' : '\x00';
    }
    track += std::string("\x01\xFF\x2F\x00", 4);

    std::string file = "MThd";
    PutBE(file, 6, 4);
    PutBE(file, 0, 2);
    PutBE(file, 1, 2);
    PutBE(file, 500, 2);
    file += std::string("MTrk");
    PutBE(file, static_cast<std::uint32_t>(track.size()), 4);
    // 500 ticks per quarter at the default 500000 us per quarter: one tick per millisecond.
    return file + track;
}

void WriteManyMembersZip(const std::string &path, std::size_t count, const std::string &lastName,
                         const std::string &lastData)
{
    std::string local;
    std::string central;
    for (std::size_t i = 0; i < count; ++i) {
        const bool last = i + 1 == count;
        char generated[32];
        std::snprintf(generated, sizeof generated, "m%06zu.txt", i);
        const std::string name = last ? lastName : generated;
        const std::string data = last ? lastData : std::string();
        const std::uint32_t crc = Crc32(data);
        const std::uint64_t offset = local.size();

        Put(local, 0x04034b50, 4);
        Put(local, 20, 2);     // version needed
        Put(local, 0, 2);      // flags
        Put(local, 0, 2);      // stored
        Put(local, 0, 2);      // time
        Put(local, 0x5221, 2); // date: 2021-01-01
        Put(local, crc, 4);
        Put(local, data.size(), 4);
        Put(local, data.size(), 4);
        Put(local, name.size(), 2);
        Put(local, 0, 2);
        local += name;
        local += data;

        Put(central, 0x02014b50, 4);
        Put(central, 0x031E, 2); // made by Unix, 3.0
        Put(central, 20, 2);
        Put(central, 0, 2);
        Put(central, 0, 2);
        Put(central, 0, 2);
        Put(central, 0x5221, 2);
        Put(central, crc, 4);
        Put(central, data.size(), 4);
        Put(central, data.size(), 4);
        Put(central, name.size(), 2);
        Put(central, 0, 2); // extra
        Put(central, 0, 2); // comment
        Put(central, 0, 2); // disk
        Put(central, 0, 2); // internal attributes
        Put(central, 0100644u << 16, 4);
        Put(central, offset, 4);
        central += name;
    }
    std::string tail;
    const std::uint64_t zip64End = local.size() + central.size();
    Put(tail, 0x06064b50, 4); // ZIP64 end of central directory
    Put(tail, 44, 8);
    Put(tail, 45, 2);
    Put(tail, 45, 2);
    Put(tail, 0, 4);
    Put(tail, 0, 4);
    Put(tail, count, 8);
    Put(tail, count, 8);
    Put(tail, central.size(), 8);
    Put(tail, local.size(), 8);
    Put(tail, 0x07064b50, 4); // its locator
    Put(tail, 0, 4);
    Put(tail, zip64End, 8);
    Put(tail, 1, 4);
    Put(tail, 0x06054b50, 4); // end of central directory, pointing to the ZIP64 one
    Put(tail, 0, 2);
    Put(tail, 0, 2);
    Put(tail, 0xFFFF, 2);
    Put(tail, 0xFFFF, 2);
    Put(tail, 0xFFFFFFFFu, 4);
    Put(tail, 0xFFFFFFFFu, 4);
    Put(tail, 0, 2);

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << local << central << tail;
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

void WriteSparseFile(const std::string &path, std::uint64_t size, const std::string &head)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool done = fd >= 0 &&
                      ::write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size()) &&
                      ::ftruncate(fd, static_cast<off_t>(size)) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!done)
        throw std::runtime_error("cannot make the sparse file " + path);
}

std::uint64_t PeakResidentBytes()
{
    return StatusValue("VmHWM");
}

std::uint64_t ResidentBytes()
{
    return StatusValue("VmRSS");
}

void ResetPeakResident()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace testing_support
