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

// The code for a decoder that stopped (made bytes) before the member's size.
int CheckedMember::Failure(std::size_t made) const
{
    if (range_ != nullptr && range_->Failed() && !range_->Truncated())
        return ERROR_CANNOT_READ;
    if (range_ != nullptr && range_->Truncated())
        return ERROR_FILE_CRC; // the archive ends inside the member
    if (decoder_.Broken() && !decoder_.Short())
        return ERROR_DATA_BROKEN;
    return made == 0 || decoder_.Short() ? ERROR_FILE_CRC : 0;
}

// After the member's size: its stream must end there and its checksum match.
int CheckedMember::Finish()
{
    if (decoder_.HasEnd()) {
        unsigned char more = 0;
        if (decoder_.Decode(&more, 1) != 0 || decoder_.Broken())
            return ERROR_FILE_CRC;
    }
    return sum_ != expected_ ? ERROR_FILE_CRC : 0;
}

int CheckedMember::ReadBlock(std::vector<unsigned char> &buffer, arc::DataBlock &block)
{
    block = arc::DataBlock();
    const std::uint64_t offset = delivered_;
    std::size_t got = 0;
    const int result = Read(buffer.data(), buffer.size(), got);
    if (result == 0) {
        block.data = buffer.data();
        block.size = got;
        block.offset = offset;
    }
    return result;
}

int CheckedMember::Read(unsigned char *buffer, std::size_t size, std::size_t &got)
{
    got = 0;
    if (failure_ != 0)
        return failure_;
    if (delivered_ == size_)
        return failure_ = Finish();
    if (size > size_ - delivered_)
        size = static_cast<std::size_t>(size_ - delivered_);
    const std::size_t made = decoder_.Decode(buffer, size);
    if (made > size || (failure_ = Failure(made)) != 0)
        return failure_ = failure_ != 0 ? failure_ : ERROR_DATA_BROKEN;
    sum_ = checksum_(sum_, buffer, made);
    delivered_ += made;
    got = made;
    return 0;
}

} // namespace codec
