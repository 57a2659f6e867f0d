#include "link/link_clock.h"

#include <thread>

namespace talveron::link {

Clock::time_point SteadyClock::Now() {
    return std::chrono::steady_clock::now();
}

void SteadyClock::SleepFor(std::chrono::microseconds duration) {
    if (duration.count() > 0) std::this_thread::sleep_for(duration);
}

}  // namespace talveron::link
