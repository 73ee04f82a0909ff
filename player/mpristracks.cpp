#include "mpristracks.h"

#include <algorithm>

namespace {

const QString TrackPathPrefix = QStringLiteral("/org/sonolux/Sonolux/Track/");

} // namespace

QString TMprisTrackIds::PathFor(const QModelIndex &index)
{
    // Entries that left the list take their ids with them.
    tracks_.erase(std::remove_if(tracks_.begin(), tracks_.end(),
                                 [](const Track &track) { return !track.index.isValid(); }),
                  tracks_.end());
    const QModelIndex row = index.siblingAtColumn(0);
    auto found = std::find_if(tracks_.begin(), tracks_.end(),
                              [&row](const Track &track) { return track.index == row; });
    if (found == tracks_.end())
        found = tracks_.insert(tracks_.end(), Track{QPersistentModelIndex(row), nextSerial_++});
    return TrackPathPrefix + QString::number(found->serial);
}
