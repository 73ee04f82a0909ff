#include "playposition.h"

#include <algorithm>

namespace {

// The highest index of a list of count entries, 0 for an empty one.
int LastOf(int count)
{
    return std::max(count - 1, 0);
}

// Where index ends when the entry at from is taken out and put back at to.
int AfterMove(int index, int from, int to)
{
    if (index == from)
        return to;
    if (from < index && index <= to)
        return index - 1;
    if (to <= index && index < from)
        return index + 1;
    return index;
}

} // namespace

int TPlayPosition::Current() const
{
    if (!removed_)
        return current_;
    return gap_ < count_ ? gap_ : LastOf(count_);
}

void TPlayPosition::SetCurrent(int index)
{
    current_ = index;
    removed_ = false;
}

void TPlayPosition::Inserted(int index, int count)
{
    const int before = count - 1;
    // An entry inserted at an entry's place pushes it on; one appended moves nothing.
    if (removed_ && index < gap_)
        ++gap_;
    else if (!removed_ && index <= current_ && current_ < before)
        ++current_;
    if (index <= last_ && last_ < before)
        ++last_;
    count_ = count;
}

void TPlayPosition::Removed(int index, int count)
{
    count_ = count;
    if (removed_) {
        if (index < gap_)
            --gap_;
    } else if (index == current_) {
        removed_ = true;
        gap_ = index;
    } else if (index < current_) {
        --current_;
    }
    if (index <= last_)
        --last_;
    Clamp(count);
}

void TPlayPosition::Moved(int from, int to)
{
    if (removed_) {
        // The gap is where the entry after it stands, so it travels with that entry.
        if (gap_ < count_)
            gap_ = AfterMove(gap_, from, to);
    } else {
        current_ = AfterMove(current_, from, to);
    }
}

void TPlayPosition::Replaced(int found, int count)
{
    count_ = count;
    if (found >= 0)
        SetCurrent(found);
    else
        current_ = Current();
    removed_ = false;
    Clamp(count);
}

void TPlayPosition::Clamp(int count)
{
    count_ = count;
    if (count == 0)
        removed_ = false;
    current_ = std::clamp(current_, 0, LastOf(count));
    gap_ = std::clamp(gap_, 0, count);
    last_ = std::clamp(last_, 0, LastOf(count));
}
