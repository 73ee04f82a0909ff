#include "mprisstatus.h"

#include "core/playercore.h"
#include "mpristracks.h"

#include "platform/textcodec.h"

#include <QDBusObjectPath>
#include <utility>

namespace {

constexpr const char *PlayMark = ">";
const QString NoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

// The row of the entry being played: CurrentIndex's while it carries the play mark (it
// does not once that entry has been removed).
int PlayedRow(const PlayQueue &queue)
{
    const int current = queue.CurrentIndex();
    return queue.IsValidIndex(current) && queue.Entry(current).Marker == PlayMark ? current : -1;
}

} // namespace

bool TMprisStatus::operator==(const TMprisStatus &o) const
{
    return playback == o.playback && trackId == o.trackId && title == o.title && url == o.url &&
           lengthUs == o.lengthUs && lyrics == o.lyrics && canPlay == o.canPlay &&
           canPause == o.canPause && canSeek == o.canSeek && canGoNext == o.canGoNext &&
           canGoPrevious == o.canGoPrevious && volume == o.volume;
}

TMprisStatus ReadMprisStatus(TPlayerCore &core, TMprisTrackIds &ids)
{
    TMprisStatus status;
    mci::TMediaPlayer &device = core.MediaPlayer1();
    status.volume = device.Volume();
    if (!core.IsOpen())
        return status;
    const mci::TMPModes mode = device.Mode();
    const bool playing = mode == mci::mpPlaying;
    status.playback = playing                 ? TMprisPlayback::Playing
                      : mode == mci::mpPaused ? TMprisPlayback::Paused
                                              : TMprisPlayback::Stopped;
    status.canPlay = true;
    status.canPause = true;
    status.canSeek = playing;
    PlayQueue &queue = core.Queue();
    status.canGoNext = playing && queue.Position().HasNext();
    status.canGoPrevious = playing && queue.Position().HasPrevious();

    const int row = PlayedRow(queue);
    if (row < 0)
        return status;
    const TPlayEntry &entry = queue.Entry(row);
    status.trackId = ids.PathFor(queue.index(row, 0));
    status.title =
        platform::DecodeText(core.TitleText().empty() ? entry.FileName : core.TitleText());
    status.url = FileUrl(entry.FilePath);
    status.lengthUs = device.Length() * 1000;
    status.lyrics = device.Lyrics().WholeText();
    return status;
}

qint64 MprisPositionUs(TPlayerCore &core, const TMprisStatus &status)
{
    return status.HasTrack() ? core.MediaPlayer1().Position() * 1000 : 0;
}

QVariantMap MprisChangedProperties(const TMprisStatus &before, const TMprisStatus &now)
{
    QVariantMap changed;
    if (now.playback != before.playback)
        changed.insert(QStringLiteral("PlaybackStatus"), PlaybackStatusName(now.playback));
    if (now.trackId != before.trackId || now.title != before.title || now.url != before.url ||
        now.lengthUs != before.lengthUs || now.lyrics != before.lyrics)
        changed.insert(QStringLiteral("Metadata"), MetadataMap(now));
    const std::pair<const char *, bool TMprisStatus::*> flags[] = {
        {"CanPlay", &TMprisStatus::canPlay},
        {"CanPause", &TMprisStatus::canPause},
        {"CanSeek", &TMprisStatus::canSeek},
        {"CanGoNext", &TMprisStatus::canGoNext},
        {"CanGoPrevious", &TMprisStatus::canGoPrevious},
    };
    for (const auto &[name, flag] : flags) {
        if (now.*flag != before.*flag)
            changed.insert(QString::fromLatin1(name), now.*flag);
    }
    if (now.volume != before.volume)
        changed.insert(QStringLiteral("Volume"), now.volume);
    return changed;
}

QString PlaybackStatusName(TMprisPlayback playback)
{
    switch (playback) {
    case TMprisPlayback::Playing:
        return QStringLiteral("Playing");
    case TMprisPlayback::Paused:
        return QStringLiteral("Paused");
    case TMprisPlayback::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QVariantMap MetadataMap(const TMprisStatus &status)
{
    QVariantMap map;
    if (!status.HasTrack()) {
        map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(NoTrack)));
        return map;
    }
    map.insert(QStringLiteral("mpris:trackid"),
               QVariant::fromValue(QDBusObjectPath(status.trackId)));
    map.insert(QStringLiteral("mpris:length"), QVariant::fromValue<qlonglong>(status.lengthUs));
    map.insert(QStringLiteral("xesam:title"), status.title);
    map.insert(QStringLiteral("xesam:url"), status.url);
    if (!status.lyrics.isEmpty())
        map.insert(QStringLiteral("xesam:asText"), status.lyrics);
    return map;
}

QString FileUrl(const std::string &path)
{
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    return QStringLiteral("file://") + QString::fromLatin1(bytes.toPercentEncoding("/"));
}
