#include "instance.h"

#include "tempdir.h"

#include <QLocalServer>
#include <QLocalSocket>

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
    // Listening replaces an existing socket file, so ask first whether a copy answers
    // there; a file nobody answers on was left by a copy that ended abnormally.
    if (IsRunning(windowClass_))
        return false;
    const QString path = QString::fromStdString(InstanceSocketPath(windowClass_));
    QLocalServer::removeServer(path);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(path)) {
        server_.reset();
        return false;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::AcceptConnections);
    return true;
}

bool SingleInstance::IsClaimed() const
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
