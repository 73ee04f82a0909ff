#pragma once
// One running copy per user, found by its main window's class name.
//
// The first copy claims the name with an exclusive lock on a file in the user's private
// temporary folder and listens on a local socket beside it; a later copy finds it by
// connecting there. The channel also carries messages to the running copy (lists of files
// to take in).

#include "base/uniquefd.h"

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

    // Claims windowClass for this process: true when this process holds it (also when it
    // already did), false when a live copy of this user holds it. The claim is the lock,
    // held while this object lives and dropped by the system when the process ends, so of
    // copies claiming at the same moment exactly one wins, and a copy that ended without
    // releasing it leaves nothing in the way. The holder then listens for messages.
    // Throws std::runtime_error with the reason when the claim cannot be tried at all (no
    // private temporary folder, the lock file cannot be opened).
    bool Claim();
    bool IsClaimed() const { return lock_.Valid(); }
    // True when the holder takes messages; a socket path the system refuses (too long,
    // for one) leaves the claim standing without the channel.
    bool IsListening() const;

signals:
    void messageReceived(const QByteArray &message);

private:
    void AcceptConnections();

    void Listen(const std::string &path);

    std::string windowClass_;
    base::UniqueFd lock_;
    std::unique_ptr<QLocalServer> server_;
};

// The socket path standing for windowClass; its lock file is this path + ".lock".
std::string InstanceSocketPath(const std::string &windowClass);

} // namespace platform
