#include "platform/mci/clock.h"

#include <algorithm>
#include <limits>
#include <thread>

namespace mci {

namespace {

constexpr std::int64_t kNsPerMs = 1000000;
constexpr auto kCentury = std::chrono::hours(24 * 365 * 100);

} // namespace

std::int64_t DeadlineNs(std::int64_t nowNs, std::chrono::milliseconds timeout)
{
    const std::int64_t ms = std::max<std::int64_t>(timeout.count(), 0);
    const std::int64_t room =
        std::numeric_limits<std::int64_t>::max() - std::max<std::int64_t>(nowNs, 0);
    return ms > room / kNsPerMs ? std::numeric_limits<std::int64_t>::max() : nowNs + ms * kNsPerMs;
}

std::chrono::steady_clock::time_point SteadyDeadline(std::chrono::milliseconds timeout)
{
    const auto bounded = std::min<std::chrono::milliseconds>(
        std::max(timeout, std::chrono::milliseconds(0)),
        std::chrono::duration_cast<std::chrono::milliseconds>(kCentury));
    return std::chrono::steady_clock::now() + bounded;
}

void VirtualClock::WaitUntil(std::chrono::nanoseconds time)
{
    std::int64_t now = now_.load(std::memory_order_relaxed);
    while (now < time.count() &&
           !now_.compare_exchange_weak(now, time.count(), std::memory_order_acq_rel)) {
    }
}

void VirtualClock::Advance(std::chrono::nanoseconds step)
{
    if (step.count() > 0)
        now_.fetch_add(step.count(), std::memory_order_acq_rel);
}

SteadyClock::SteadyClock()
    : start_(std::chrono::steady_clock::now())
{
}

std::chrono::nanoseconds SteadyClock::Now() const
{
    return std::chrono::steady_clock::now() - start_;
}

void SteadyClock::WaitUntil(std::chrono::nanoseconds time)
{
    std::this_thread::sleep_until(start_ + time);
}

} // namespace mci
