#include "short_string.h"

#include <string.h>

namespace loader {

ShortText::ShortText(const unsigned char *source)
{
    if (source != nullptr)
        Assign(source + 1, source[0]);
}

void ShortText::Assign(const void *bytes, size_t length)
{
    length_ = length < kShortStringCapacity ? length : kShortStringCapacity;
    memcpy(bytes_, bytes, length_);
    bytes_[length_] = '\0';
}

bool ShortText::Append(const char *bytes, size_t length)
{
    if (length > kShortStringCapacity - length_)
        return false;
    memcpy(bytes_ + length_, bytes, length);
    length_ += length;
    bytes_[length_] = '\0';
    return true;
}

bool ShortText::HasZeroByte() const
{
    return memchr(bytes_, '\0', length_) != nullptr;
}

void ShortText::StoreTo(unsigned char *buffer) const
{
    buffer[0] = static_cast<unsigned char>(length_);
    memcpy(buffer + 1, bytes_, length_);
}

} // namespace loader
