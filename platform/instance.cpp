#include "instance.h"

#include "tempdir.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>

namespace platform {
namespace {

constexpr int ConnectTimeoutMs = 1000;
constexpr int TransferTimeoutMs = 3000;

} // namespace

std::string InstanceSocketPath(const std::string &windowClass)
{
    return GetTempPath() + windowClass;
}

SingleInstance::SingleInstance(std::string windowClass, QObject *parent)
    : QObject(parent)
    , windowClass_(std::move(windowClass))
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::IsRunning(const std::string &windowClass)
{
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(InstanceSocketPath(windowClass)));
    return socket.waitForConnected(ConnectTimeoutMs);
}

bool SingleInstance::SendToRunning(const std::string &windowClass, const QByteArray &message)
{
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(InstanceSocketPath(windowClass)));
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    socket.write(message);
    if (!socket.waitForBytesWritten(TransferTimeoutMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::Claim()
{
    if (IsClaimed())
        return true;
    const std::string path = InstanceSocketPath(windowClass_);
    const std::string lockPath = path + ".lock";
    base::UniqueFd lock(
        ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0600));
    if (!lock.Valid())
        throw std::runtime_error("Cannot check for a running copy: " + lockPath + ": " +
                                 std::strerror(errno));
    int locked = 0;
    while ((locked = ::flock(lock.Get(), LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
        if (errno == EWOULDBLOCK)
            return false;
        throw std::runtime_error("Cannot check for a running copy: " + lockPath + ": " +
                                 std::strerror(errno));
    }
    lock_ = std::move(lock);
    Listen(path);
    return true;
}

void SingleInstance::Listen(const std::string &path)
{
    // Only the lock's holder listens, so a socket file found here was left by a copy that
    // ended abnormally.
    const QString name = QString::fromStdString(path);
    QLocalServer::removeServer(name);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) {
        server_.reset();
        return;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::AcceptConnections);
}

bool SingleInstance::IsListening() const
{
    return server_ != nullptr && server_->isListening();
}

void SingleInstance::AcceptConnections()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        socket->setParent(this);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, socket,
                [socket, buffer] { buffer->append(socket->readAll()); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            if (!buffer->isEmpty())
                emit messageReceived(*buffer);
            socket->deleteLater();
        });
    }
}

} // namespace platform
