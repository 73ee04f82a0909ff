#pragma once
// Track ids for the desktop's media controls: one D-Bus object path per play list entry,
// the same for as long as the entry is in the list (also when it moves), never given to
// another entry.

#include <QPersistentModelIndex>
#include <QString>
#include <vector>

class TMprisTrackIds
{
public:
    // The path of the entry at index (a row of the play queue).
    QString PathFor(const QModelIndex &index);

private:
    struct Track
    {
        QPersistentModelIndex index;
        quint64 serial = 0;
    };
    std::vector<Track> tracks_;
    quint64 nextSerial_ = 1;
};
