#include "unarrsession.h"

#include <unarr.h>

namespace unrar {
namespace {

class UnarrDecoder : public codec::Decoder
{
public:
    explicit UnarrDecoder(ar_archive *archive)
        : archive_(archive)
        , left_(ar_entry_get_size(archive))
    {
    }
    std::size_t Decode(unsigned char *out, std::size_t size) override
    {
        if (size > left_)
            size = left_;
        if (broken_ || size == 0)
            return 0;
        // unarr checks the member's CRC-32 in the call that completes it and fails that
        // call on a mismatch, with the bytes decoded: they are handed on, for the caller's
        // own check to reject them as a CRC error.
        if (!ar_entry_uncompress(archive_, out, size) && size != left_) {
            broken_ = true;
            return 0;
        }
        left_ -= size;
        return size;
    }
    bool Broken() const override { return broken_; }

private:
    ar_archive *archive_;
    std::size_t left_;
    bool broken_ = false;
};

} // namespace

UnarrSession::~UnarrSession()
{
    if (archive_ != nullptr)
        ar_close_archive(archive_);
    if (stream_ != nullptr)
        ar_close(stream_);
}

bool UnarrSession::Seek(const std::string &path, std::uint64_t headerOffset)
{
    if (stream_ == nullptr) {
        stream_ = ar_open_file(path.c_str());
        archive_ = stream_ != nullptr ? ar_open_rar_archive(stream_) : nullptr;
        if (archive_ == nullptr)
            ended_ = true;
    } else if (!ended_ &&
               static_cast<std::uint64_t>(ar_entry_get_offset(archive_)) == headerOffset) {
        return true;
    }
    // unarr steps over the members before this one (decoding them in a solid archive).
    while (!ended_) {
        if (!ar_parse_entry(archive_)) {
            ended_ = true;
            break;
        }
        const auto offset = static_cast<std::uint64_t>(ar_entry_get_offset(archive_));
        if (offset == headerOffset)
            return true;
        if (offset > headerOffset)
            return false;
    }
    return false;
}

std::unique_ptr<codec::Decoder> UnarrSession::MemberDecoder()
{
    return std::make_unique<UnarrDecoder>(archive_);
}

} // namespace unrar
