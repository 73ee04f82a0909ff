#include "fluidsynthcli.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace bench {

namespace {

constexpr auto kTimeout = std::chrono::minutes(2);

double Seconds(const timeval &t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

} // namespace

CliRender RenderWithFluidSynth(const std::string &soundFont, const std::string &song,
                               const std::string &wav, int sampleRate)
{
    const std::string rate = std::to_string(sampleRate);
    std::vector<std::string> args = {"fluidsynth", "-ni", "-F", wav, "-T", "wav", "-O",      "s16",
                                     "-r",         rate,  "-R", "0", "-C", "0",   soundFont, song};
    std::vector<char *> argv;
    for (std::string &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    CliRender result;
    const pid_t child = ::fork();
    if (child < 0) {
        result.error = "cannot start fluidsynth";
        return result;
    }
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + kTimeout;
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t done = ::wait4(child, &status, WNOHANG, &usage);
        if (done == child)
            break;
        if (done < 0 || std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::wait4(child, &status, 0, &usage);
            result.error = "fluidsynth did not finish";
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        result.error = WIFEXITED(status) && WEXITSTATUS(status) == 127
                           ? "the fluidsynth program is not installed"
                           : "fluidsynth failed";
        return result;
    }
    result.ok = true;
    result.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    result.peakMemoryKb = usage.ru_maxrss;
    return result;
}

} // namespace bench
