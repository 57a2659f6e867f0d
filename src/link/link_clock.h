// Monotonic time for the link's timeouts and pauses, so a wait that spans midnight or a
// change of the wall clock lasts its full length.
#pragma once

#include <chrono>

namespace talveron::link {

class Clock {
  public:
    using time_point = std::chrono::steady_clock::time_point;
    virtual ~Clock() = default;
    virtual time_point Now() = 0;
    virtual void SleepFor(std::chrono::microseconds duration) = 0;
};

// The real clock: std::chrono::steady_clock.
class SteadyClock final : public Clock {
  public:
    time_point Now() override;
    void SleepFor(std::chrono::microseconds duration) override;
};

}  // namespace talveron::link
