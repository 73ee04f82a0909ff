#include "unshrink.h"

namespace pkzip {

Unshrink::Unshrink(codec::ByteSource &source)
    : in_(source)
{
    for (unsigned code = 0; code < 256; ++code) {
        suffix_[code] = static_cast<unsigned char>(code);
        used_[code] = true;
    }
    used_[256] = true;
    pending_.reserve(codeCount);
}

std::size_t Unshrink::Decode(unsigned char *out, std::size_t size)
{
    std::size_t n = 0;
    while (n < size && !broken_) {
        if (pending_.empty() && !NextCode())
            break;
        while (n < size && !pending_.empty()) {
            out[n++] = pending_.back();
            pending_.pop_back();
        }
    }
    return n;
}

// Reads codes until one yields bytes.
bool Unshrink::NextCode()
{
    for (;;) {
        const unsigned code = in_.Get(width_);
        if (in_.Overrun()) {
            broken_ = true;
            return false;
        }
        if (code == 256) {
            if (!Control())
                return false;
            continue;
        }
        return Expand(code);
    }
}

bool Unshrink::Control()
{
    const unsigned what = in_.Get(width_);
    if (what == 1 && width_ < 13)
        ++width_;
    else if (what == 2)
        PartialClear();
    else
        broken_ = true;
    return !broken_;
}

void Unshrink::PartialClear()
{
    std::vector<bool> parent(codeCount);
    for (unsigned code = firstFree; code < codeCount; ++code)
        if (used_[code])
            parent[prefix_[code]] = true;
    for (unsigned code = firstFree; code < codeCount; ++code)
        if (!parent[code])
            used_[code] = false;
    free_ = firstFree;
    AdvanceFree();
}

void Unshrink::AdvanceFree()
{
    while (free_ < codeCount && used_[free_])
        ++free_;
}

// Puts the string of code into pending_ and adds the previous code extended by its first
// byte as a new code.
bool Unshrink::Expand(unsigned code)
{
    const bool known = used_[code];
    if (!known && (previous_ < 0 || code != free_)) {
        broken_ = true;
        return false;
    }
    // A code not yet assigned is the previous string followed by its own first byte.
    unsigned walk = known ? code : static_cast<unsigned>(previous_);
    while (walk >= firstFree) {
        if (pending_.size() >= codeCount) {
            broken_ = true; // a loop of prefixes
            return false;
        }
        pending_.push_back(suffix_[walk]);
        walk = prefix_[walk];
    }
    pending_.push_back(static_cast<unsigned char>(walk));
    const unsigned char first = static_cast<unsigned char>(walk);
    if (!known)
        pending_.insert(pending_.begin(), first);
    if (previous_ >= 0 && free_ < codeCount) {
        prefix_[free_] = static_cast<std::uint16_t>(previous_);
        suffix_[free_] = first;
        used_[free_] = true;
        AdvanceFree();
    }
    previous_ = static_cast<int>(code);
    return true;
}

} // namespace pkzip
