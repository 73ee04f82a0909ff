#pragma once
// A read-only window on bytes owned elsewhere. Reads past the end give zero, so the
// parsers of damaged files can never read outside the buffer.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace rcpcv {

class ByteView
{
public:
    ByteView() = default;
    ByteView(const uint8_t *data, size_t size)
        : data_(data)
        , size_(size)
    {
    }

    const uint8_t *Data() const { return data_; }
    size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }

    uint8_t U8(size_t offset) const { return offset < size_ ? data_[offset] : 0; }
    // Little-endian, as every integer in the song files.
    uint16_t U16(size_t offset) const
    {
        return static_cast<uint16_t>(U8(offset) | U8(offset + 1) << 8);
    }
    uint32_t U32(size_t offset) const
    {
        return static_cast<uint32_t>(U16(offset)) | static_cast<uint32_t>(U16(offset + 2)) << 16;
    }

    // The bytes [offset, offset + length), clipped to the view.
    ByteView Sub(size_t offset, size_t length) const
    {
        if (offset >= size_)
            return {};
        return {data_ + offset, length < size_ - offset ? length : size_ - offset};
    }

    // True when the view starts with the length bytes of text.
    bool StartsWith(const char *text, size_t length) const
    {
        return length <= size_ && std::memcmp(data_, text, length) == 0;
    }

private:
    const uint8_t *data_ = nullptr;
    size_t size_ = 0;
};

} // namespace rcpcv
