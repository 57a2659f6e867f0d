// The timing of an 8N1 serial line at a given baud rate, both ways: one start bit, eight data
// bits and one stop bit, so a byte takes ten bit-times on the wire and the next one cannot
// start before the one before it has ended. A pseudo-terminal moves bytes at once; the
// virtual radio runs every byte through this model so the programmer sees real timing:
//   a byte the programmer writes is whole at the radio one byte-time after it started, and
//   not before the byte before it is whole;
//   a byte the radio sends starts when it is ready and the line is free, and is whole at the
//   programmer one byte-time later, which is when it is written to the pseudo-terminal.
// So each byte the radio sends reaches the programmer no sooner than ten bit-times after the
// one before it. The times are those of the line itself, not of the wake-ups that serve it,
// so a late wake-up never slows the line down for good.
#pragma once

#include <chrono>

namespace talveron::vradio {

class SerialLine {
  public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    // baud 0: no line at all, every byte is delivered the moment it is there.
    explicit SerialLine(unsigned baud);

    bool Paced() const { return byteTime_.count() > 0; }
    // Ten bit-times, rounded up to the nanosecond.
    std::chrono::nanoseconds ByteTime() const { return byteTime_; }

    // A byte the programmer wrote at written is whole at the radio at the time returned.
    TimePoint Received(TimePoint written);
    // A byte the radio has ready at ready is whole at the programmer at the time returned.
    TimePoint Sent(TimePoint ready);

  private:
    std::chrono::nanoseconds byteTime_{0};
    TimePoint rxEnd_ = TimePoint::min();  // the end of the last byte towards the radio
    TimePoint txEnd_ = TimePoint::min();  // the end of the last byte towards the programmer
};

}  // namespace talveron::vradio
