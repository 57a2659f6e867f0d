// The pace of an 8N1 serial line: one start bit, eight data bits and one stop bit, so a byte
// takes ten bit-times and the next one cannot leave before that. The virtual radio sends its
// bytes through a pacer so a pseudo-terminal, which moves bytes at once, keeps real timing.
#pragma once

#include <chrono>

namespace talveron::vradio {

class LinePacer {
  public:
    using Clock = std::chrono::steady_clock;

    // baud 0: no pacing, every byte may leave at once.
    explicit LinePacer(unsigned baud);

    bool Paced() const { return byteTime_.count() > 0; }
    // Ten bit-times, rounded up to the nanosecond.
    std::chrono::nanoseconds ByteTime() const { return byteTime_; }

    // The earliest moment the next byte may leave: ten bit-times after the one before it.
    Clock::time_point NextDue() const;
    // True when a byte may leave at now.
    bool MaySend(Clock::time_point now) const { return !Paced() || now >= NextDue(); }
    // Notes that a byte left at when.
    void Sent(Clock::time_point when);

  private:
    std::chrono::nanoseconds byteTime_{0};
    Clock::time_point last_{};
    bool anySent_ = false;
};

}  // namespace talveron::vradio
