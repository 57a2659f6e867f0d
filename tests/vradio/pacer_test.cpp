// The pace of the line, computed without waiting: the clock readings are the test's own.
#include <gtest/gtest.h>

#include "vradio/line_pacer.h"

namespace talveron::vradio {
namespace {

using namespace std::chrono_literals;

TEST(LinePacer, TenBitTimesPerByte) {
    EXPECT_EQ(LinePacer(9600).ByteTime(), 1'041'667ns);  // 10 / 9600 s, rounded up
    EXPECT_EQ(LinePacer(10).ByteTime(), 1s);
    EXPECT_EQ(LinePacer(115200).ByteTime(), 86'806ns);
    EXPECT_TRUE(LinePacer(300).Paced());
}

TEST(LinePacer, NextByteWaitsTenBitTimesAfterTheOneBefore) {
    LinePacer pacer(9600);
    const LinePacer::Clock::time_point t0{5s};
    EXPECT_TRUE(pacer.MaySend(t0)) << "the first byte goes at once";
    pacer.Sent(t0);
    EXPECT_EQ(pacer.NextDue(), t0 + 1'041'667ns);
    EXPECT_FALSE(pacer.MaySend(t0));
    EXPECT_FALSE(pacer.MaySend(t0 + 1'041'666ns));
    EXPECT_TRUE(pacer.MaySend(t0 + 1'041'667ns));
    // A byte sent late sets the pace from when it really left.
    const auto late = t0 + 3ms;
    pacer.Sent(late);
    EXPECT_FALSE(pacer.MaySend(late + 1ms));
    EXPECT_TRUE(pacer.MaySend(late + 1'041'667ns));
}

TEST(LinePacer, BaudZeroNeverWaits) {
    LinePacer pacer(0);
    EXPECT_FALSE(pacer.Paced());
    const LinePacer::Clock::time_point t0{1s};
    pacer.Sent(t0);
    EXPECT_TRUE(pacer.MaySend(t0));
}

}  // namespace
}  // namespace talveron::vradio
