#include "vradio/line_pacer.h"

namespace talveron::vradio {

LinePacer::LinePacer(unsigned baud) {
    if (baud > 0) {
        constexpr long long kTenBitsNs = 10LL * 1'000'000'000LL;
        byteTime_ = std::chrono::nanoseconds((kTenBitsNs + baud - 1) / baud);
    }
}

LinePacer::Clock::time_point LinePacer::NextDue() const {
    if (!anySent_) return Clock::time_point::min();
    return last_ + byteTime_;
}

void LinePacer::Sent(Clock::time_point when) {
    last_ = when;
    anySent_ = true;
}

}  // namespace talveron::vradio
