#include "platform/mci/clock.h"

#include <thread>

namespace mci {

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
