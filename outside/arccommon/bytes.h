#pragma once
// Reading archive headers: exact reads at a file position, and little-endian numbers.

#include <cstddef>
#include <cstdint>
#include <string>

namespace arc {

// Reads exactly size bytes at offset of the open file fd into buffer, retrying reads cut
// short or interrupted. False when the file ends first or a read fails; buffer may then
// hold part of the bytes.
bool ReadExactAt(int fd, std::uint64_t offset, void *buffer, std::size_t size);

// The first bytes of the file at path, at most size of them: fewer when the file is
// shorter, none when it cannot be read.
std::string ReadFileHead(const std::string &path, std::size_t size);

// The unsigned little-endian number in the bytes (1 to 4) at p.
std::uint32_t LittleEndian(const unsigned char *p, int bytes);

} // namespace arc
