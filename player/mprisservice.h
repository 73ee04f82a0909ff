#pragma once
// The player on the desktop's media controls and media keys (MPRIS 2 over the session bus):
// the service "org.mpris.MediaPlayer2.sonolux" with the object /org/mpris/MediaPlayer2 and
// its two interfaces (TMprisRootAdaptor, TMprisPlayerAdaptor).
//
// Every request is the player core's operation that the matching control of the bar
// calls, under the same rules: Next is the Next button (nothing at LastIndex), a seek is a
// click on the position bar (targets are whole multiples of length div its width), a file
// opened is a drop on the bar (through the host). The core reports its changes
// (PlaybackChanged, PositionJumped) and so does its queue; the service then sends
// PropertiesChanged for what differs and Seeked after a seek.
// The position is read when asked.
//
// Without a session bus, or when the name cannot be had, nothing is registered and the
// player runs as before, silently. With a second copy running ("/DEBUG") the name gets the
// suffix ".instance<pid>", as the media controls expect.

#include "mprishost.h"
#include "mprisstatus.h"
#include "mpristracks.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QObject>
#include <QString>
#include <functional>

class TMprisPlayerAdaptor;
class TPlayerCore;

// The bus hands the context of a call to an adaptor's parent: this service.
class TMprisService : public QObject, protected QDBusContext
{
    Q_OBJECT
public:
    static const QString ObjectPath;
    static const QString BaseServiceName;

    // Serves core; host answers what concerns the window. Neither is owned; both outlive
    // the service.
    TMprisService(TPlayerCore &core, TMprisHost &host,
                  const QDBusConnection &connection = QDBusConnection::sessionBus(),
                  QObject *parent = nullptr);
    ~TMprisService() override;

    bool IsRegistered() const { return !serviceName_.isEmpty(); }
    // The bus name held; empty when not registered.
    const QString &ServiceName() const { return serviceName_; }

    TMprisStatus Status();
    qint64 PositionUs();

    // The Player interface's requests.
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    // Moves the position by offsetUs: rounded to the position bar's steps away from the
    // current position; before the start seeks to 0, at or past the end acts as Next.
    void Seek(qint64 offsetUs);
    // Moves to positionUs (nearest step) when trackId is the entry being played and the
    // position lies within the song; otherwise nothing.
    void SetPosition(const QString &trackId, qint64 positionUs);
    // Sets the device's volume (clamped to 0..1, kept in its midimap.ini) and tells the
    // desktop. Throws what TMediaPlayer::SetVolume throws.
    void SetVolume(double volume);
    // Takes in the file of a file URL as a drop on the bar; false for any other URI.
    bool OpenUri(const QString &uri);

    // The root interface's requests.
    void Raise();
    void Quit();

    // Carries out request for the call being answered. A failure answers the caller with
    // its message at once, and is then shown in the program's error box as the bar's own
    // buttons show theirs (through the host, after the answer, so the caller is not kept
    // waiting on the box).
    void RunCall(const std::function<void()> &request);
    // Answers the call being answered with an error.
    void RejectCall(QDBusError::ErrorType type, const QString &message);

private:
    void Register();
    void ConnectSources();
    void ScheduleRefresh();
    void Refresh();
    void AnnounceSeek(qint64 positionMs);

    TPlayerCore &core_;
    TMprisHost &host_;
    QDBusConnection connection_;
    TMprisTrackIds ids_;
    TMprisStatus announced_;
    TMprisPlayerAdaptor *player_ = nullptr;
    QString serviceName_;
    bool refreshScheduled_ = false;
};

enum class TStepRounding { Down, Nearest, Up };

// The position bar's x for a target of targetMs in a song of lengthMs on a bar width pixels
// wide, whose clicks seek to x * (lengthMs div width): the step below, nearest or above the
// target, within 0 .. width - 1. 0 when a step is shorter than a millisecond.
int PositionBarX(qint64 targetMs, qint64 lengthMs, int width, TStepRounding rounding);
