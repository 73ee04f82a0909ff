#pragma once
// One running copy per user, found by its main window's class name.
//
// The first copy claims the name by listening on a local socket in the user's private
// temporary folder; a later copy finds it by connecting there. The channel also carries
// messages to the running copy (lists of files to take in).

#include <QByteArray>
#include <QObject>
#include <memory>
#include <string>

class QLocalServer;

namespace platform {

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(std::string windowClass, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when a running copy of this user holds windowClass.
    static bool IsRunning(const std::string &windowClass);
    // Hands message to the running copy; false when none took it.
    static bool SendToRunning(const std::string &windowClass, const QByteArray &message);

    // Claims windowClass for this process. False when a live copy holds it; a name left
    // behind by a copy that ended without releasing it is taken over.
    bool Claim();
    bool IsClaimed() const;

signals:
    void messageReceived(const QByteArray &message);

private:
    void AcceptConnections();

    std::string windowClass_;
    std::unique_ptr<QLocalServer> server_;
};

// The socket path standing for windowClass.
std::string InstanceSocketPath(const std::string &windowClass);

} // namespace platform
