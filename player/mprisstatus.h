#pragma once
// What the desktop's media controls are told about the player: the playback status, the song
// being played and which requests the bar's rules allow now. Read from the player core and its play
// list; the play position is read separately, on demand.

#include <QString>
#include <QVariantMap>
#include <QtGlobal>

class TPlayerCore;
class TMprisTrackIds;

enum class TMprisPlayback { Stopped, Playing, Paused };

struct TMprisStatus
{
    TMprisPlayback playback = TMprisPlayback::Stopped;
    // The entry being played (the one carrying the play mark); empty fields when there is
    // none.
    QString trackId; // object path, see TMprisTrackIds
    QString title;   // the title as the bar shows it, else the file name
    QString url;     // file URL of the file played, its bytes percent-encoded
    qint64 lengthUs = 0;
    QString lyrics; // the song's lyrics, line by line (SongLyrics::WholeText); empty for none
    // The bar's rules: Play and Pause need a loaded song; seeking, Next and Previous need
    // one playing, and Next and Previous an entry to go to.
    bool canPlay = false;
    bool canPause = false;
    bool canSeek = false;
    bool canGoNext = false;
    bool canGoPrevious = false;
    double volume = 1.0; // the device's (TMediaPlayer::Volume), whether a song is loaded or not

    bool HasTrack() const { return !trackId.isEmpty(); }
    bool operator==(const TMprisStatus &other) const;
    bool operator!=(const TMprisStatus &other) const { return !(*this == other); }
};

// The status of core now; ids gives the entry being played its track id.
TMprisStatus ReadMprisStatus(TPlayerCore &core, TMprisTrackIds &ids);

// The playback position of core in microseconds; 0 while no entry is being played.
qint64 MprisPositionUs(TPlayerCore &core, const TMprisStatus &status);

// The Player interface's properties that differ between before and now, by name with
// their values now, as PropertiesChanged announces them.
QVariantMap MprisChangedProperties(const TMprisStatus &before, const TMprisStatus &now);

// "Playing", "Paused" or "Stopped".
QString PlaybackStatusName(TMprisPlayback playback);

// The Metadata map: mpris:trackid, mpris:length, xesam:title, xesam:url, and for a song
// with lyrics xesam:asText; with no entry being played only the track id standing for no
// track.
QVariantMap MetadataMap(const TMprisStatus &status);

// "file://" and path with every byte but unreserved ones and "/" percent-encoded, so a
// name in any encoding survives exactly.
QString FileUrl(const std::string &path);
