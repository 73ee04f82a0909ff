#include "playqueue.h"

#include "platform/mbcs.h"
#include "platform/textcodec.h"
#include <algorithm>

const char *const NullPath = "Null";

namespace {

// The same song in another list: the same member of the same archive, or the same file.
bool SameSong(const TPlayEntry &a, const TPlayEntry &b)
{
    if (a.ArchivePath != b.ArchivePath)
        return false;
    return a.ArchivePath.empty() ? a.FilePath == b.FilePath : a.FileName == b.FileName;
}

} // namespace

PlayQueue::PlayQueue(QObject *parent)
    : QAbstractTableModel(parent)
{
}

const TPlayEntry &PlayQueue::Entry(int index) const
{
    return entries_.at(static_cast<std::size_t>(index));
}

void PlayQueue::Append(const TPlayEntry &entry)
{
    Insert(Count(), entry);
}

void PlayQueue::Insert(int index, const TPlayEntry &entry)
{
    index = std::clamp(index, 0, Count());
    beginInsertRows(QModelIndex(), index, index);
    entries_.insert(entries_.begin() + index, entry);
    position_.Inserted(index, Count());
    endInsertRows();
}

void PlayQueue::Remove(int index)
{
    if (!IsValidIndex(index))
        return;
    beginRemoveRows(QModelIndex(), index, index);
    entries_.erase(entries_.begin() + index);
    position_.Removed(index, Count());
    endRemoveRows();
}

void PlayQueue::Clear()
{
    beginResetModel();
    entries_.clear();
    position_ = TPlayPosition();
    endResetModel();
}

void PlayQueue::Assign(std::vector<TPlayEntry> entries)
{
    const int played = FindPlayed(entries);
    if (played >= 0)
        entries[static_cast<std::size_t>(played)].Marker = Entry(CurrentIndex()).Marker;
    beginResetModel();
    entries_ = std::move(entries);
    position_.Replaced(played, Count());
    endResetModel();
}

int PlayQueue::FindPlayed(const std::vector<TPlayEntry> &entries) const
{
    const int current = CurrentIndex();
    if (position_.CurrentRemoved() || !IsValidIndex(current))
        return -1; // the entry being played is no longer in the list
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (SameSong(entries[i], Entry(current)))
            return static_cast<int>(i);
    return -1;
}

bool PlayQueue::StepNext()
{
    if (!position_.HasNext())
        return false;
    position_.SetCurrent(position_.NextIndex());
    return true;
}

bool PlayQueue::StepPrevious()
{
    if (!position_.HasPrevious())
        return false;
    position_.SetCurrent(position_.PreviousIndex());
    return true;
}

void PlayQueue::SetMarker(int index, const std::string &marker)
{
    if (!IsValidIndex(index) || entries_[static_cast<std::size_t>(index)].Marker == marker)
        return;
    entries_[static_cast<std::size_t>(index)].Marker = marker;
    RowChanged(index);
}

void PlayQueue::ClearPlayMarks()
{
    for (int i = 0; i < Count(); ++i)
        SetMarker(i, std::string());
}

void PlayQueue::SetFilePath(int index, const std::string &filePath)
{
    if (IsValidIndex(index))
        entries_[static_cast<std::size_t>(index)].FilePath = filePath;
}

void PlayQueue::SetTitle(int index, const std::string &title)
{
    if (!IsValidIndex(index))
        return;
    entries_[static_cast<std::size_t>(index)].Title = title;
    RowChanged(index);
}

void PlayQueue::Move(int from, int to)
{
    if (!IsValidIndex(from))
        return;
    to = std::clamp(to, 0, Count() - 1);
    if (from == to)
        return;
    // Qt names the destination as a row of the list before removal.
    const int destination = to > from ? to + 1 : to;
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), destination);
    TPlayEntry moved = std::move(entries_[static_cast<std::size_t>(from)]);
    entries_.erase(entries_.begin() + from);
    entries_.insert(entries_.begin() + to, std::move(moved));
    position_.Moved(from, to);
    endMoveRows();
}

bool PlayQueue::IsListed(const std::string &name) const
{
    for (const TPlayEntry &entry : entries_)
        if (platform::SameTextAscii(entry.FileName, name))
            return true;
    return false;
}

void PlayQueue::ClampPlayPosition()
{
    position_.Clamp(Count());
}

int PlayQueue::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Count();
}

int PlayQueue::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PlayQueue::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !IsValidIndex(index.row()) || role != Qt::DisplayRole)
        return QVariant();
    const TPlayEntry &entry = entries_[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case MarkerColumn:
        return platform::DecodeText(entry.Marker);
    case TitleColumn:
        return platform::DecodeText(entry.Title);
    case FileNameColumn:
        return platform::DecodeText(entry.FileName);
    default:
        return QVariant();
    }
}

Qt::ItemFlags PlayQueue::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid())
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QVariant PlayQueue::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case TitleColumn:
        return QStringLiteral("TITLE");
    case FileNameColumn:
        return QStringLiteral("FILENAME");
    default:
        return QString();
    }
}

void PlayQueue::RowChanged(int index)
{
    emit dataChanged(this->index(index, 0), this->index(index, ColumnCount - 1));
}
