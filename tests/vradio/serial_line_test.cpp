// The timing of the serial line, computed without waiting: the clock readings are the test's
// own, so these are exact.
#include <gtest/gtest.h>

#include "vradio/serial_line.h"

namespace talveron::vradio {
namespace {

using namespace std::chrono_literals;
using TimePoint = SerialLine::TimePoint;

constexpr auto kByte9600 = 1'041'667ns;  // 10 / 9600 s, rounded up
const TimePoint t0{7s};

TEST(SerialLine, ByteTimeIsTenBitTimes) {
    EXPECT_EQ(SerialLine(9600).ByteTime(), kByte9600);
    EXPECT_EQ(SerialLine(10).ByteTime(), 1s);
    EXPECT_EQ(SerialLine(115200).ByteTime(), 86'806ns);
    EXPECT_TRUE(SerialLine(300).Paced());
    EXPECT_FALSE(SerialLine(0).Paced());
}

TEST(SerialLine, BytesEachWayFollowOneAnotherTenBitTimesApart) {
    SerialLine line(9600);
    // Three bytes written at once reach the radio one after the other.
    EXPECT_EQ(line.Received(t0), t0 + kByte9600);
    EXPECT_EQ(line.Received(t0), t0 + 2 * kByte9600);
    EXPECT_EQ(line.Received(t0), t0 + 3 * kByte9600);
    // A byte written after the line went idle takes one byte-time from its writing.
    EXPECT_EQ(line.Received(t0 + 10ms), t0 + 10ms + kByte9600);

    // Four bytes ready together reach the programmer one byte-time apart.
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(line.Sent(t0), t0 + i * kByte9600) << i;
    // The way back is independent of the way there.
    EXPECT_EQ(line.Sent(t0 + 1s), t0 + 1s + kByte9600);
}

TEST(SerialLine, BaudZeroDeliversAtOnce) {
    SerialLine line(0);
    EXPECT_EQ(line.Received(t0), t0);
    EXPECT_EQ(line.Received(t0), t0);
    EXPECT_EQ(line.Sent(t0), t0);
    EXPECT_EQ(line.Sent(t0), t0);
}

}  // namespace
}  // namespace talveron::vradio
