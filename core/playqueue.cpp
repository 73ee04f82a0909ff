#include "playqueue.h"

#include "platform/mbcs.h"
#include "platform/textcodec.h"
#include <algorithm>

const char *const NullPath = "Null";
int CurrentIndex = 0;
int LastIndex = 0;

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
    endInsertRows();
}

void PlayQueue::Remove(int index)
{
    if (!IsValidIndex(index))
        return;
    beginRemoveRows(QModelIndex(), index, index);
    entries_.erase(entries_.begin() + index);
    endRemoveRows();
}

void PlayQueue::Clear()
{
    Assign({});
}

void PlayQueue::Assign(std::vector<TPlayEntry> entries)
{
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
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
    endMoveRows();
}

bool PlayQueue::IsListed(const std::string &name) const
{
    for (const TPlayEntry &entry : entries_)
        if (platform::SameTextAscii(entry.FileName, name))
            return true;
    return false;
}

void PlayQueue::ClampPlayPosition() const
{
    const int last = std::max(Count() - 1, 0);
    CurrentIndex = std::clamp(CurrentIndex, 0, last);
    LastIndex = std::clamp(LastIndex, 0, last);
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
