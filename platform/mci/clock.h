#pragma once
// Clocks for the silent output: a virtual one that tests move by hand, and the steady
// system clock for playing without sound.

#include <atomic>
#include <chrono>
#include <cstdint>

namespace mci {

// now + timeout in nanoseconds, saturating instead of overflowing for huge timeouts.
std::int64_t DeadlineNs(std::int64_t nowNs, std::chrono::milliseconds timeout);
// steady_clock::now() + timeout, at most a century ahead.
std::chrono::steady_clock::time_point SteadyDeadline(std::chrono::milliseconds timeout);

class Clock
{
public:
    virtual ~Clock() = default;
    // Time since the clock's start; never goes back.
    virtual std::chrono::nanoseconds Now() const = 0;
    // Returns once Now() >= time (at once when it already is). A virtual clock jumps there.
    virtual void WaitUntil(std::chrono::nanoseconds time) = 0;
};

// A clock that stands still until moved. Moving it is what lets a test play a song of
// minutes in microseconds, with every event at its exact time. Readable from any thread.
class VirtualClock final : public Clock
{
public:
    std::chrono::nanoseconds Now() const override
    {
        return std::chrono::nanoseconds(now_.load(std::memory_order_acquire));
    }
    void WaitUntil(std::chrono::nanoseconds time) override;
    // Moves the clock forward by step (a negative step does nothing).
    void Advance(std::chrono::nanoseconds step);

private:
    std::atomic<std::int64_t> now_{0};
};

// The system's steady clock, counted from the construction of this object.
class SteadyClock final : public Clock
{
public:
    SteadyClock();
    std::chrono::nanoseconds Now() const override;
    void WaitUntil(std::chrono::nanoseconds time) override;

private:
    std::chrono::steady_clock::time_point start_;
};

} // namespace mci
