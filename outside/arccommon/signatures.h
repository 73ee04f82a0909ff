#pragma once
// Recognising archives by their first (and last) bytes, without reading any member. Used
// for the quick probe of OpenArchive and to find headers behind self-extractor programs.

#include "workerjob.h"

#include <cstddef>
#include <string>

namespace arc {

// How far into a file a header behind a self-extractor's program is looked for.
constexpr std::size_t signatureScan = 1u << 20;
// How much of a file's end is read to find a ZIP archive's central directory.
constexpr std::size_t zipTailScan = 65536 + 22;

// An LHA member header at window[at]: method "-lh?-" or "-lz?-", header level 0 to 3,
// and for levels 0 and 1 a matching header checksum.
bool LhaHeaderAt(const std::string &window, std::size_t at);
// An ARJ main header at window[at], its CRC-32 checked.
bool ArjMainHeaderAt(const std::string &window, std::size_t at);
// A TAR header block at window[at], its checksum checked.
bool TarHeaderAt(const std::string &window, std::size_t at);

// Whether a file beginning with head is a program that may carry an archive behind it: an
// MS-DOS or Windows executable ("MZ"), or an MS-DOS .com program, which has no signature
// but starts with a jump (E9 or EB) over its data.
bool IsProgramHead(const std::string &head);

enum class Compression { None, Gzip, Compress, Bzip2, Xz, Zstd, Lzip };
Compression CompressionOf(const std::string &head);

// Where an LZH, ARJ, CAB or RAR archive begins in a file whose first bytes are head (up
// to signatureScan): 0 when its header is there, else the offset of the first header
// behind a self-extractor's program head (IsProgramHead), std::string::npos when there is
// none. ZIP and TAR archives are found by their readers: 0.
std::size_t ArchiveStart(ArchiveKind kind, const std::string &head);

// Whether a file whose first bytes are head (up to signatureScan) and last bytes tail (up
// to zipTailScan) is an archive of kind: its header at the start, or behind the
// program head of a self-extractor (IsProgramHead), or for ZIP its central directory at the end.
// For Tar also a compressed file of any kind.
bool LooksLikeArchive(ArchiveKind kind, const std::string &head, const std::string &tail);

} // namespace arc
