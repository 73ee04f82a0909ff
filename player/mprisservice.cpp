#include "mprisservice.h"

#include "mprisplayer.h"
#include "mprisroot.h"

#include "core/playercore.h"
#include "platform/textcodec.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <stdexcept>
#include <utility>

const QString TMprisService::ObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString TMprisService::BaseServiceName = QStringLiteral("org.mpris.MediaPlayer2.sonolux");

namespace {

const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

} // namespace

int PositionBarX(qint64 targetMs, qint64 lengthMs, int width, TStepRounding rounding)
{
    if (width <= 0)
        return 0;
    const qint64 step = lengthMs / width;
    if (step <= 0)
        return 0;
    const qint64 target = std::max<qint64>(targetMs, 0);
    qint64 x = target / step;
    const qint64 rest = target - x * step;
    if ((rounding == TStepRounding::Up && rest > 0) ||
        (rounding == TStepRounding::Nearest && 2 * rest >= step))
        ++x;
    return static_cast<int>(std::min<qint64>(x, width - 1));
}

TMprisService::TMprisService(TPlayerCore &core, TMprisHost &host, const QDBusConnection &connection,
                             QObject *parent)
    : QObject(parent)
    , core_(core)
    , host_(host)
    , connection_(connection)
{
    new TMprisRootAdaptor(this);
    player_ = new TMprisPlayerAdaptor(this);
    announced_ = Status();
    ConnectSources();
    Register();
}

TMprisService::~TMprisService()
{
    if (!IsRegistered())
        return;
    connection_.unregisterService(serviceName_);
    connection_.unregisterObject(ObjectPath);
}

void TMprisService::Register()
{
    if (!connection_.isConnected() || !connection_.registerObject(ObjectPath, this))
        return;
    const QString instanceName = BaseServiceName + QStringLiteral(".instance") +
                                 QString::number(QCoreApplication::applicationPid());
    for (const QString &name : {BaseServiceName, instanceName}) {
        if (connection_.registerService(name)) {
            serviceName_ = name;
            return;
        }
    }
    connection_.unregisterObject(ObjectPath);
}

void TMprisService::ConnectSources()
{
    connect(&core_, &TPlayerCore::PlaybackChanged, this, &TMprisService::ScheduleRefresh);
    connect(&core_, &TPlayerCore::PositionJumped, this, &TMprisService::AnnounceSeek);
    // Entries added, removed, moved or changed alter the track and what Next may reach.
    const PlayQueue *queue = &core_.Queue();
    connect(queue, &QAbstractItemModel::rowsInserted, this, &TMprisService::ScheduleRefresh);
    connect(queue, &QAbstractItemModel::rowsRemoved, this, &TMprisService::ScheduleRefresh);
    connect(queue, &QAbstractItemModel::rowsMoved, this, &TMprisService::ScheduleRefresh);
    connect(queue, &QAbstractItemModel::modelReset, this, &TMprisService::ScheduleRefresh);
    connect(queue, &QAbstractItemModel::dataChanged, this, &TMprisService::ScheduleRefresh);
}

TMprisStatus TMprisService::Status()
{
    return ReadMprisStatus(core_, ids_);
}

qint64 TMprisService::PositionUs()
{
    return MprisPositionUs(core_, Status());
}

// Changes come in bursts (a new song marks one entry and clears the others); one check
// after the burst is enough.
void TMprisService::ScheduleRefresh()
{
    if (refreshScheduled_)
        return;
    refreshScheduled_ = true;
    QTimer::singleShot(0, this, &TMprisService::Refresh);
}

void TMprisService::Refresh()
{
    refreshScheduled_ = false;
    const TMprisStatus now = Status();
    const QVariantMap changed = MprisChangedProperties(announced_, now);
    announced_ = now;
    if (changed.isEmpty() || !IsRegistered())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(ObjectPath, PropertiesInterface,
                                                     QStringLiteral("PropertiesChanged"));
    signal << TMprisPlayerAdaptor::InterfaceName << changed << QStringList();
    connection_.send(signal);
}

void TMprisService::AnnounceSeek(qint64 positionMs)
{
    emit player_->Seeked(positionMs * 1000);
    ScheduleRefresh();
}

void TMprisService::Play()
{
    core_.PlaySong();
}

// The bar's Pause button also resumes; the media controls' Pause only pauses.
void TMprisService::Pause()
{
    if (Status().playback == TMprisPlayback::Playing)
        core_.PauseSong();
}

void TMprisService::PlayPause()
{
    if (Status().playback == TMprisPlayback::Stopped)
        core_.PlaySong();
    else
        core_.PauseSong();
}

void TMprisService::Stop()
{
    core_.StopSong();
}

void TMprisService::Next()
{
    core_.NextSong(false);
}

void TMprisService::Previous()
{
    core_.PreviousSong();
}

void TMprisService::Seek(qint64 offsetUs)
{
    const TMprisStatus status = Status();
    if (!status.canSeek || !status.HasTrack())
        return;
    const qint64 lengthMs = core_.MediaPlayer1().Length();
    const qint64 targetMs = core_.MediaPlayer1().Position() + offsetUs / 1000;
    if (targetMs >= lengthMs) {
        Next();
        return;
    }
    const TStepRounding rounding = offsetUs < 0 ? TStepRounding::Down : TStepRounding::Up;
    const int width = host_.PositionBarWidth();
    core_.SeekTo(PositionBarX(targetMs, lengthMs, width, rounding), width);
}

void TMprisService::SetPosition(const QString &trackId, qint64 positionUs)
{
    const TMprisStatus status = Status();
    if (!status.canSeek || trackId != status.trackId || positionUs < 0 ||
        positionUs > status.lengthUs)
        return;
    const int width = host_.PositionBarWidth();
    core_.SeekTo(PositionBarX(positionUs / 1000, core_.MediaPlayer1().Length(), width,
                              TStepRounding::Nearest),
                 width);
}

void TMprisService::SetVolume(double volume)
{
    core_.MediaPlayer1().SetVolume(volume);
    ScheduleRefresh();
}

bool TMprisService::OpenUri(const QString &uri)
{
    const QUrl url(uri, QUrl::StrictMode);
    if (!url.isValid() || !url.isLocalFile() || !url.host().isEmpty())
        return false;
    // The path's bytes exactly as the URL encodes them, whatever their encoding.
    const QByteArray path =
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (path.isEmpty())
        return false;
    host_.OpenFromDesktop({std::string(path.constData(), static_cast<std::size_t>(path.size()))});
    return true;
}

void TMprisService::Raise()
{
    host_.RaiseBar();
}

void TMprisService::Quit()
{
    host_.CloseFromDesktop();
}

void TMprisService::RunCall(const std::function<void()> &request)
{
    try {
        request();
    } catch (const std::exception &error) {
        RejectCall(QDBusError::Failed, platform::DecodeText(error.what()));
        QTimer::singleShot(0, this, [this, message = std::string(error.what())] {
            host_.ShowRequestError(message);
        });
    }
}

void TMprisService::RejectCall(QDBusError::ErrorType type, const QString &message)
{
    if (calledFromDBus())
        sendErrorReply(type, message);
}
