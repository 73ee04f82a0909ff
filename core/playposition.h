#pragma once
// The play position within a list of entries: the entry being played (or last played) and
// the last entry that Next and the automatic advance may reach. The list reports every
// change to it, and the position follows its entries, so the song being played stays the
// current one and the range Next walks keeps its entries:
//
//  - Current follows the entry being played while it is in the list. When that entry is
//    removed, the entry after it becomes current and is the next one to play (nothing is
//    skipped), and Previous goes to the entry before the removed one. When the removed
//    entry was the list's last, the entry before it becomes current and nothing follows.
//  - Last follows its entry through inserts and removals (the entry before it when it is
//    removed itself); a move leaves it at its place. A range that ends at the list's last
//    entry therefore keeps ending there, and entries appended later lie beyond it.
//  - After a removal or a replacement both indices name an entry (both 0 for an empty
//    list). Set by hand beyond the list, they stay there until then.

class TPlayPosition
{
public:
    // The entry being played, or the one after it when it was removed (see above).
    int Current() const;
    int Last() const { return last_; }
    // The entry at index is the one being played from now on (an intake, a double-click).
    void SetCurrent(int index);
    void SetLast(int index) { last_ = index; }
    // True while the entry being played is out of the list (removed since it started).
    bool CurrentRemoved() const { return removed_; }

    // The index Next and the automatic advance start, and whether they may (at most Last);
    // the index Previous starts, and whether it may.
    int NextIndex() const { return removed_ ? gap_ : current_ + 1; }
    bool HasNext() const { return NextIndex() <= last_; }
    int PreviousIndex() const { return (removed_ ? gap_ : current_) - 1; }
    bool HasPrevious() const { return PreviousIndex() >= 0; }

    // What changed in the list; count is the number of entries after the change.
    void Inserted(int index, int count);
    void Removed(int index, int count);
    void Moved(int from, int to);
    // The list was replaced; found is the index of the entry being played in the new list,
    // or -1 when it is not there (Current then keeps its index, brought within the list).
    void Replaced(int found, int count);
    // Brings both indices within a list of count entries (both 0 when it is empty).
    void Clamp(int count);

private:
    int current_ = 0;
    int last_ = 0;
    int count_ = 0;
    // The entry being played was removed: gap_ is where it stood (0 to count_), so the
    // entry at gap_ follows it and the one at gap_ - 1 preceded it.
    bool removed_ = false;
    int gap_ = 0;
};
