#include "workerprocess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace arc {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds drainLimit{1000};
constexpr std::chrono::milliseconds exitGrace{2000};

// fd moved above the standard descriptors: a program started with some of them closed
// would otherwise hand out 0 to 2 here, and the helper's own 0 and 1 would be lost.
int AboveStandard(int fd)
{
    if (fd < 0 || fd > STDERR_FILENO)
        return fd;
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    ::close(fd);
    return moved;
}

class Pipe
{
public:
    Pipe()
    {
        if (::pipe2(fds_, O_CLOEXEC) != 0)
            fds_[0] = fds_[1] = -1;
        fds_[0] = AboveStandard(fds_[0]);
        fds_[1] = AboveStandard(fds_[1]);
    }
    ~Pipe()
    {
        CloseRead();
        CloseWrite();
    }
    bool Valid() const { return fds_[0] >= 0 && fds_[1] >= 0; }
    int Read() const { return fds_[0]; }
    int Write() const { return fds_[1]; }
    void CloseRead() { Close(fds_[0]); }
    void CloseWrite() { Close(fds_[1]); }

private:
    static void Close(int &fd)
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    int fds_[2];
};

// The channel for the caller's answers: a socket, so that answering a helper that has
// died gives an error instead of SIGPIPE.
class AnswerChannel
{
public:
    explicit AnswerChannel(bool wanted)
    {
        if (wanted && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds_) != 0)
            fds_[0] = fds_[1] = -1;
        fds_[0] = AboveStandard(fds_[0]);
        fds_[1] = AboveStandard(fds_[1]);
    }
    ~AnswerChannel()
    {
        CloseHelperEnd();
        if (fds_[0] >= 0)
            ::close(fds_[0]);
    }
    bool Wanted() const { return fds_[1] >= 0 && fds_[0] >= 0; }
    int HelperEnd() const { return fds_[1]; }
    void CloseHelperEnd()
    {
        if (fds_[1] >= 0)
            ::close(fds_[1]);
        fds_[1] = -1;
    }
    void GoOn() const
    {
        if (fds_[0] >= 0)
            ::send(fds_[0], "y", 1, MSG_NOSIGNAL);
    }

private:
    int fds_[2] = {-1, -1};
};

pid_t Spawn(const std::string &program, const std::vector<std::string> &arguments, int output,
            int input)
{
    std::vector<std::string> strings;
    strings.push_back(program);
    strings.insert(strings.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &s : strings)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    if (input >= 0)
        posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    // A clean signal state, whatever the calling program has blocked or caught.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM, SIGUSR1,
                             SIGUSR2, SIGXCPU, SIGXFSZ})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const int result =
        posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return result == 0 ? pid : -1;
}

// Only the helper's own temporary files are ever removed on its behalf.
bool IsWorkerTempFile(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string prefix = std::string(".") + workerProgramName + "-";
    return name.size() > prefix.size() + 5 && name.compare(0, prefix.size(), prefix) == 0 &&
           name.compare(name.size() - 5, 5, ".part") == 0;
}

// Waits for the helper to end, killing it when it has not ended by limit.
void Reap(pid_t pid, Clock::time_point limit)
{
    const int pidFd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR))
            break; // ended (or already reaped by a program that ignores SIGCHLD)
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(limit - Clock::now()).count();
        if (left <= 0) {
            ::kill(pid, SIGKILL);
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        // The process descriptor becomes readable when the helper ends; without one, look
        // again every millisecond.
        struct pollfd ended = {pidFd, POLLIN, 0};
        ::poll(pidFd >= 0 ? &ended : nullptr, pidFd >= 0 ? 1 : 0,
               pidFd >= 0 ? static_cast<int>(left) : 1);
    }
    if (pidFd >= 0)
        ::close(pidFd);
}

class Supervisor
{
public:
    Supervisor(int fd, RecordHandler &handler, const AnswerChannel &answers)
        : fd_(fd)
        , handler_(handler)
        , answers_(answers)
    {
    }

    // Reads until the helper closes its report, the deadline passes or the handler stops.
    WorkerOutcome Follow(Clock::time_point deadline)
    {
        char buffer[65536];
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline + handlerTime_ - Clock::now());
            if (left.count() <= 0)
                return WorkerOutcome::TimedOut;
            struct pollfd poller = {fd_, POLLIN, 0};
            const int ready =
                ::poll(&poller, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
            if (ready < 0 && errno != EINTR)
                return WorkerOutcome::Failed;
            if (ready <= 0)
                continue;
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (got <= 0)
                return WorkerOutcome::Failed; // ended without its Result
            parser_.Feed(buffer, static_cast<std::size_t>(got));
            const WorkerOutcome outcome = Dispatch(true);
            // The Result is the last record: what the helper does afterwards (ending) is
            // not waited for here.
            if (outcome != WorkerOutcome::Finished || haveResult_)
                return outcome;
        }
    }

    // After a kill: reads what the helper wrote before it died, for its temporary file.
    void Drain()
    {
        const Clock::time_point limit = Clock::now() + drainLimit;
        char buffer[65536];
        while (Clock::now() < limit) {
            struct pollfd poller = {fd_, POLLIN, 0};
            if (::poll(&poller, 1, 100) <= 0)
                continue;
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got <= 0)
                break;
            parser_.Feed(buffer, static_cast<std::size_t>(got));
            Dispatch(false);
        }
    }

    const std::string &PendingTemp() const { return pendingTemp_; }
    const protocol::ResultEntry &Result() const { return result_; }

private:
    // Finished here means "go on".
    WorkerOutcome Dispatch(bool toHandler)
    {
        protocol::RecordType type{};
        std::string payload;
        while (parser_.Next(type, payload)) {
            switch (type) {
            case protocol::RecordType::Temp:
                if (!protocol::DecodeString(payload, pendingTemp_))
                    return WorkerOutcome::Failed;
                break;
            case protocol::RecordType::Done:
            case protocol::RecordType::Failed:
                pendingTemp_.clear();
                break;
            case protocol::RecordType::Result:
                if (!protocol::Decode(payload, result_))
                    return WorkerOutcome::Failed;
                haveResult_ = true;
                break;
            default:
                break;
            }
            if (!toHandler)
                continue;
            const Clock::time_point start = Clock::now();
            const bool goOn = handler_.OnRecord(type, payload);
            handlerTime_ += Clock::now() - start;
            if (!goOn)
                return WorkerOutcome::Cancelled;
            if (type == protocol::RecordType::Begin || type == protocol::RecordType::Progress)
                answers_.GoOn();
        }
        return parser_.Broken() ? WorkerOutcome::Failed : WorkerOutcome::Finished;
    }

    int fd_;
    RecordHandler &handler_;
    const AnswerChannel &answers_;
    protocol::RecordParser parser_;
    Clock::duration handlerTime_{};
    std::string pendingTemp_;
    protocol::ResultEntry result_;
    bool haveResult_ = false;
};

} // namespace

WorkerRun RunWorkerProgram(const std::string &program, const std::vector<std::string> &arguments,
                           double seconds, RecordHandler &handler, bool confirm)
{
    WorkerRun run;
    Pipe pipe;
    AnswerChannel answers(confirm);
    if (!pipe.Valid() || answers.Wanted() != confirm)
        return run;
    const Clock::time_point deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                          std::chrono::duration<double>(seconds));
    const pid_t pid = Spawn(program, arguments, pipe.Write(), answers.HelperEnd());
    pipe.CloseWrite();
    answers.CloseHelperEnd();
    if (pid < 0)
        return run;

    Supervisor supervisor(pipe.Read(), handler, answers);
    run.outcome = supervisor.Follow(deadline);
    if (run.outcome == WorkerOutcome::Finished) {
        Reap(pid, Clock::now() + exitGrace);
        run.result = supervisor.Result();
        return run;
    }
    ::kill(pid, SIGKILL);
    supervisor.Drain();
    Reap(pid, Clock::now() + exitGrace);
    if (IsWorkerTempFile(supervisor.PendingTemp()))
        ::unlink(supervisor.PendingTemp().c_str());
    return run;
}

std::string WorkerProgramPath()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void *>(&WorkerProgramPath), &info) == 0 ||
        info.dli_fname == nullptr)
        return workerProgramName;
    const std::string library = info.dli_fname;
    const std::size_t slash = library.rfind('/');
    return (slash == std::string::npos ? std::string(".") : library.substr(0, slash)) + "/" +
           workerProgramName;
}

WorkerRun RunWorker(const WorkerJob &job, double seconds, RecordHandler &handler)
{
    return RunWorkerProgram(WorkerProgramPath(), job.ToArguments(), seconds, handler,
                            job.confirmProgress);
}

} // namespace arc
