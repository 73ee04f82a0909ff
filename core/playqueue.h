#pragma once
// The play queue: the entries the player plays, in play order, and the play position.
// It is the model behind the play list window's list view (three columns: the play
// mark, "TITLE", "FILENAME"); every change goes through it so the view follows.

#include "core/playposition.h"

#include <QAbstractTableModel>
#include <string>
#include <vector>

// One entry. All fields are byte strings as read from song files and the list file.
struct TPlayEntry
{
    std::string Marker;      // ">" on the entry being played, else empty
    std::string Title;       // from the title probe; may be empty
    std::string FileName;    // name without folder
    std::string FilePath;    // full path of a playable file, or "Null" for an archive member
                             // whose extracted copy is not known
    std::string ArchivePath; // the archive the entry came from; empty for a plain file
};

// The literal standing for an archive member without a known extracted copy.
extern const char *const NullPath;

class PlayQueue : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { MarkerColumn = 0, TitleColumn = 1, FileNameColumn = 2, ColumnCount = 3 };

    explicit PlayQueue(QObject *parent = nullptr);

    int Count() const { return static_cast<int>(entries_.size()); }
    bool IsValidIndex(int index) const { return index >= 0 && index < Count(); }
    // The entry at index; index must be valid (IsValidIndex).
    const TPlayEntry &Entry(int index) const;

    void Append(const TPlayEntry &entry);
    void Insert(int index, const TPlayEntry &entry);
    void Remove(int index);
    // Removes every entry; CurrentIndex and LastIndex become 0.
    void Clear();
    // Replaces every entry at once (one reset of the view). When the entry at CurrentIndex
    // is among the new ones (the same file, or the same member of the same archive),
    // CurrentIndex follows it and its play mark goes with it; LastIndex is kept. Both are
    // brought within the new list.
    void Assign(std::vector<TPlayEntry> entries);
    const std::vector<TPlayEntry> &Entries() const { return entries_; }

    void SetMarker(int index, const std::string &marker);
    void ClearPlayMarks();
    void SetFilePath(int index, const std::string &filePath);
    void SetTitle(int index, const std::string &title);

    // Moves the entry at from so that it lands at to (an index of the list after removal).
    void Move(int from, int to);

    // True when some entry's FileName equals name without regard to ASCII letter case.
    bool IsListed(const std::string &name) const;

    // The play position, shared by the player and the play list window: the entry being
    // played (or last played) and the last entry Next and the automatic advance may reach.
    // Every change of the list above keeps it on its entries (see TPlayPosition): the
    // entry being played stays current, and after Remove, Clear and Assign both name an
    // entry (both 0 for an empty list).
    int CurrentIndex() const { return position_.Current(); }
    int LastIndex() const { return position_.Last(); }
    void SetCurrentIndex(int index) { position_.SetCurrent(index); }
    void SetLastIndex(int index) { position_.SetLast(index); }
    const TPlayPosition &Position() const { return position_; }
    // Makes the entry Next (or Previous) plays current; true when there is one.
    bool StepNext();
    bool StepPrevious();

    // Brings CurrentIndex and LastIndex back within the list (both 0 when it is empty), so
    // the player never fetches an index that has no entry.
    void ClampPlayPosition();

    // QAbstractTableModel
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    // Rows can be dragged (the list view reorders them); nothing is editable.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void RowChanged(int index);
    int FindPlayed(const std::vector<TPlayEntry> &entries) const;

    std::vector<TPlayEntry> entries_;
    TPlayPosition position_;
};
