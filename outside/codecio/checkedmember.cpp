#include "checkedmember.h"

#include "filerange.h"
#include "outside/include/archiver_api.h"

namespace codec {

CheckedMember::CheckedMember(Decoder &decoder, const FileRange *range, std::uint64_t size,
                             std::uint32_t sum, Checksum checksum)
    : decoder_(decoder)
    , range_(range)
    , size_(size)
    , expected_(sum)
    , checksum_(checksum)
{
}

int CheckedMember::Read(unsigned char *buffer, std::size_t size, std::size_t &got)
{
    got = 0;
    if (failure_ != 0)
        return failure_;
    if (delivered_ == size_) {
        if (sum_ != expected_)
            failure_ = ERROR_FILE_CRC;
        return failure_;
    }
    if (size > size_ - delivered_)
        size = static_cast<std::size_t>(size_ - delivered_);
    const std::size_t made = decoder_.Decode(buffer, size);
    if (range_ != nullptr && range_->Failed())
        failure_ = ERROR_CANNOT_READ;
    else if (decoder_.Broken() || made == 0 || made > size)
        failure_ = ERROR_DATA_BROKEN;
    if (failure_ != 0)
        return failure_;
    sum_ = checksum_(sum_, buffer, made);
    delivered_ += made;
    got = made;
    return 0;
}

} // namespace codec
