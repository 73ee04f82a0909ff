#pragma once
// Trimming of byte strings: the part of text left when the bytes a predicate calls padding
// are taken off either end. Works on any byte type (char, unsigned char); the predicate
// is given each byte as unsigned char.

#include <stddef.h>

namespace base {

// The padding predicates in use.
constexpr bool IsBlankOrControl(unsigned char c)
{
    return c <= 0x20;
}
constexpr bool IsSpaceOrTab(unsigned char c)
{
    return c == ' ' || c == '\t';
}
constexpr bool IsSpaceOrLineBreak(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Index past the last byte of text[0, size) that is not padding (0 when all are).
template<typename Byte, typename IsPadding>
constexpr size_t TrimmedEnd(const Byte *text, size_t size, IsPadding isPadding)
{
    while (size > 0 && isPadding(static_cast<unsigned char>(text[size - 1])))
        --size;
    return size;
}

// Index of the first byte of text[0, size) that is not padding (size when all are).
template<typename Byte, typename IsPadding>
constexpr size_t TrimmedBegin(const Byte *text, size_t size, IsPadding isPadding)
{
    size_t begin = 0;
    while (begin < size && isPadding(static_cast<unsigned char>(text[begin])))
        ++begin;
    return begin;
}

// [begin, end) of text[0, size) without the padding at both ends.
struct ByteRange
{
    size_t begin;
    size_t end;
    constexpr size_t Length() const { return end - begin; }
};

template<typename Byte, typename IsPadding>
constexpr ByteRange Trimmed(const Byte *text, size_t size, IsPadding isPadding)
{
    const size_t end = TrimmedEnd(text, size, isPadding);
    return {TrimmedBegin(text, end, isPadding), end};
}

} // namespace base
