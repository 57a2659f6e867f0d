#include "vradio/serial_line.h"

#include <algorithm>

#include "link/protocol.h"

namespace talveron::vradio {

SerialLine::SerialLine(unsigned baud) {
    if (baud > 0) {
        constexpr long long kByteBitsNs = kLineBitsPerByte * 1'000'000'000LL;
        byteTime_ = std::chrono::nanoseconds((kByteBitsNs + baud - 1) / baud);
    }
}

SerialLine::TimePoint SerialLine::Received(TimePoint written) {
    if (!Paced()) return written;
    rxEnd_ = std::max(written, rxEnd_) + byteTime_;
    return rxEnd_;
}

SerialLine::TimePoint SerialLine::Sent(TimePoint ready) {
    if (!Paced()) return ready;
    txEnd_ = std::max(ready, txEnd_) + byteTime_;
    return txEnd_;
}

}  // namespace talveron::vradio
