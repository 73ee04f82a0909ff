#include "mprisplayer.h"

#include "mprisservice.h"

const QString TMprisPlayerAdaptor::InterfaceName = QStringLiteral("org.mpris.MediaPlayer2.Player");

TMprisPlayerAdaptor::TMprisPlayerAdaptor(TMprisService *service)
    : QDBusAbstractAdaptor(service)
    , service_(*service)
{
}

QString TMprisPlayerAdaptor::PlaybackStatus()
{
    return PlaybackStatusName(service_.Status().playback);
}

QVariantMap TMprisPlayerAdaptor::Metadata()
{
    return MetadataMap(service_.Status());
}

qlonglong TMprisPlayerAdaptor::Position()
{
    return service_.PositionUs();
}

double TMprisPlayerAdaptor::Volume()
{
    return service_.Status().volume;
}

void TMprisPlayerAdaptor::SetVolume(double volume)
{
    service_.RunCall([this, volume] { service_.SetVolume(volume); });
}

bool TMprisPlayerAdaptor::CanGoNext()
{
    return service_.Status().canGoNext;
}

bool TMprisPlayerAdaptor::CanGoPrevious()
{
    return service_.Status().canGoPrevious;
}

bool TMprisPlayerAdaptor::CanPlay()
{
    return service_.Status().canPlay;
}

bool TMprisPlayerAdaptor::CanPause()
{
    return service_.Status().canPause;
}

bool TMprisPlayerAdaptor::CanSeek()
{
    return service_.Status().canSeek;
}

void TMprisPlayerAdaptor::Next()
{
    service_.RunCall([this] { service_.Next(); });
}

void TMprisPlayerAdaptor::Previous()
{
    service_.RunCall([this] { service_.Previous(); });
}

void TMprisPlayerAdaptor::Pause()
{
    service_.RunCall([this] { service_.Pause(); });
}

void TMprisPlayerAdaptor::PlayPause()
{
    service_.RunCall([this] { service_.PlayPause(); });
}

void TMprisPlayerAdaptor::Stop()
{
    service_.RunCall([this] { service_.Stop(); });
}

void TMprisPlayerAdaptor::Play()
{
    service_.RunCall([this] { service_.Play(); });
}

void TMprisPlayerAdaptor::Seek(qlonglong Offset)
{
    service_.RunCall([this, Offset] { service_.Seek(Offset); });
}

void TMprisPlayerAdaptor::SetPosition(const QDBusObjectPath &TrackId, qlonglong Position)
{
    service_.RunCall(
        [this, &TrackId, Position] { service_.SetPosition(TrackId.path(), Position); });
}

void TMprisPlayerAdaptor::OpenUri(const QString &Uri)
{
    if (!service_.OpenUri(Uri))
        service_.RejectCall(QDBusError::NotSupported,
                            QStringLiteral("Sono Lux opens local files only (file:// URLs): ") +
                                Uri);
}
