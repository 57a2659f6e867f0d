// The timing of the serial line, computed without waiting: the clock readings are the test's
// own, so these are exact.
#include <gtest/gtest.h>

#include "vradio/serial_line.h"

namespace talveron::vradio {
namespace {

using namespace std::chrono_literals;

TEST(SerialLine, BytesEachWayFollowOneAnotherTenBitTimesApart) {
    constexpr auto kByte = 1'041'667ns;  // 10 / 9600 s, rounded up
    const SerialLine::TimePoint t0{7s};
    EXPECT_EQ(SerialLine(10).ByteTime(), 1s);
    EXPECT_EQ(SerialLine(115200).ByteTime(), 86'806ns);
    SerialLine line(9600);
    EXPECT_EQ(line.ByteTime(), kByte);
    // Bytes written at once reach the radio one after the other; a byte written after the
    // line went idle takes one byte-time from its writing.
    EXPECT_EQ(line.Received(t0), t0 + kByte);
    EXPECT_EQ(line.Received(t0), t0 + 2 * kByte);
    EXPECT_EQ(line.Received(t0 + 10ms), t0 + 10ms + kByte);
    // The way back is independent of the way there.
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(line.Sent(t0), t0 + i * kByte) << i;
    EXPECT_EQ(line.Sent(t0 + 1s), t0 + 1s + kByte);
    // Baud 0 delivers at once.
    SerialLine now(0);
    EXPECT_FALSE(now.Paced());
    EXPECT_TRUE(SerialLine(300).Paced());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(now.Received(t0), t0);
        EXPECT_EQ(now.Sent(t0), t0);
    }
}

}  // namespace
}  // namespace talveron::vradio
