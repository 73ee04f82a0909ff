#include "launcher.h"

#include "base/uniquefd.h"

#include "app/startup.h"
#include "platform/instance.h"
#include "platform/tempdir.h"

#include <QProcess>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr const char *LockFileName = "sonolux-open.lock";
constexpr unsigned long PollIntervalMs = 100;

// An exclusive lock on a file in the user's private temporary folder, held while it lives.
class TurnLock
{
public:
    TurnLock()
        : fd_(::open((platform::GetTempPath() + LockFileName).c_str(),
                     O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600))
    {
        // Without the lock two launchers may each start a player; the second one then
        // declines to run, so going on is still safe.
        if (fd_.Valid())
            while (::flock(fd_.Get(), LOCK_EX) != 0 && errno == EINTR) {
            }
    }

private:
    base::UniqueFd fd_;
};

bool ProcessEnded(qint64 pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

void HandOver(const QByteArray &message, const std::string &playerProgram,
              std::chrono::milliseconds timeout)
{
    const TurnLock turn;
    if (platform::SingleInstance::SendToRunning(BarWindowClass, message))
        return;

    qint64 pid = 0;
    if (!QProcess::startDetached(QString::fromStdString(playerProgram), {}, QString(), &pid))
        throw std::runtime_error("cannot start the player " + playerProgram);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (platform::SingleInstance::SendToRunning(BarWindowClass, message))
            return;
        if (ProcessEnded(pid))
            throw std::runtime_error("the player " + playerProgram +
                                     " ended before it could take the files");
        QThread::msleep(PollIntervalMs);
    }
    throw std::runtime_error("the player " + playerProgram + " did not answer in time");
}
