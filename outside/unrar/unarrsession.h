#pragma once
// RAR 2.0 to 3.x data (also audio, PPMd and filtered) decoded by unarr, which reads the
// archive alongside our own header reader: both walk the same file, and a member is
// found in unarr by the offset of its header. unarr keeps the state of solid archives.

#include "outside/codecio/checkedmember.h"

#include <cstdint>
#include <memory>
#include <string>

struct ar_archive_s;
struct ar_stream_s;

namespace unrar {

class UnarrSession
{
public:
    UnarrSession() = default;
    ~UnarrSession();
    UnarrSession(const UnarrSession &) = delete;
    UnarrSession &operator=(const UnarrSession &) = delete;

    // Prepares the member whose header starts at headerOffset of the archive at path
    // (opened on first use): false when unarr cannot read the archive or does not find
    // that member after the ones it gave before.
    bool Seek(const std::string &path, std::uint64_t headerOffset);
    // A decoder of the member Seek found; valid until the next Seek.
    std::unique_ptr<codec::Decoder> MemberDecoder();

private:
    ar_stream_s *stream_ = nullptr;
    ar_archive_s *archive_ = nullptr;
    bool ended_ = false;
};

} // namespace unrar
