// The queue operations of the play list window: the list file, deleting and clearing.
#include "playercore.h"

#include "listfile.h"

#include "platform/files.h"

void TPlayerCore::LoadList()
{
    const std::string path = listfile::ListFilePath();
    if (!platform::FileExists(path))
        return;
    std::vector<TPlayEntry> read;
    try {
        // Read before the list is replaced, so an unreadable file loses nothing.
        read = listfile::ReadListFile(path);
    } catch (...) {
        queue_.ClampPlayPosition();
        throw;
    }
    listfile::CheckedEntries checked = listfile::CheckEntries(std::move(read));
    queue_.Assign(std::move(checked.kept));
    queue_.SetLastIndex(queue_.Count() - 1);
    queue_.ClampPlayPosition();
    if (!checked.report.empty())
        emit MissingEntries(listfile::MissingCaption, checked.report);
}

void TPlayerCore::SaveList()
{
    if (queue_.Count() == 0)
        return;
    listfile::WriteListFile(listfile::ListFilePath(), queue_.Entries());
    // Members are extracted again before they next play, as a loaded list would be.
    for (int i = 0; i < queue_.Count(); ++i)
        if (!queue_.Entry(i).ArchivePath.empty())
            queue_.SetFilePath(i, NullPath);
}

void TPlayerCore::DeleteEntry(int index)
{
    if (!queue_.IsValidIndex(index))
        return;
    queue_.Remove(index);
}

void TPlayerCore::ClearList()
{
    queue_.Clear();
}
