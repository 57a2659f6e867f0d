// The band and raster check over a document's channel lines and its verdict.
#include <gtest/gtest.h>

#include "image/channel_line.h"
#include "image/range_check.h"

namespace talveron {
namespace {

const BandLimits kVhf{140, 175};

std::string Line(int n, const std::string& rx, const std::string& tx) {
    ChannelRecord ch;
    ch.number = n;
    ch.rxFreq = rx;
    ch.txFreq = tx;
    return FormatChannelLine(ch);
}

TEST(CheckRanges, NoFrequencyAtAllLeavesTheStatusAlone) {
    const RangeVerdict v = CheckRanges({Line(1, "NONE", "NONE"), Line(2, "NONE", "NONE")}, kVhf);
    EXPECT_FALSE(v.setsStatus);
    EXPECT_FALSE(v.stepBad);
    EXPECT_TRUE(CheckRanges({}, kVhf).text.empty());
    EXPECT_FALSE(CheckRanges({}, kVhf).setsStatus);
}

TEST(CheckRanges, AllInRangeIsBlack) {
    const RangeVerdict v =
        CheckRanges({Line(1, "140.000000", "175.000000"), Line(2, "NONE", "NONE"),
                     Line(3, "145.012500", "NONE"), Line(4, "146.031250", "147.043750")},
                    kVhf);
    EXPECT_TRUE(v.setsStatus);
    EXPECT_EQ(v.text, "ALL Channels In Range");
    EXPECT_EQ(v.color, kColorBlack);
    EXPECT_FALSE(v.stepBad);
}

TEST(CheckRanges, BandEdgesAreWholeMegahertz) {
    // 175.9 MHz reads as 175 and passes; 176 and 139 do not.
    EXPECT_EQ(CheckRanges({Line(1, "175.993750", "NONE")}, kVhf).text, "ALL Channels In Range");
    EXPECT_EQ(CheckRanges({Line(1, "176.000000", "NONE")}, kVhf).text, "Channel #1 Range Out !");
    EXPECT_EQ(CheckRanges({Line(1, "145.000000", "139.993750")}, kVhf).text,
              "Channel #1 Range Out !");
}

TEST(CheckRanges, BandFaultWinsOverAnEarlierRasterFault) {
    const RangeVerdict v =
        CheckRanges({Line(1, "145.011000", "145.011000"), Line(2, "145.000000", "145.000000"),
                     Line(3, "145.000000", "176.000000"), Line(4, "190.000000", "NONE")},
                    kVhf);
    EXPECT_TRUE(v.setsStatus);
    EXPECT_EQ(v.text, "Channel #3 Range Out !");
    EXPECT_EQ(v.color, kColorRed);
    EXPECT_TRUE(v.stepBad);  // the raster fault found before stays noted
}

TEST(CheckRanges, FirstRasterFaultIsReported) {
    const RangeVerdict v =
        CheckRanges({Line(1, "145.000000", "145.000000"), Line(2, "145.000000", "145.011000"),
                     Line(3, "145.013000", "145.000000")},
                    kVhf);
    EXPECT_EQ(v.text, "Channel #2 in Bad increament !");
    EXPECT_EQ(v.color, kColorRed);
    EXPECT_TRUE(v.stepBad);
}

TEST(CheckRanges, ReceiveIsCheckedBeforeTransmit) {
    const RangeVerdict v =
        CheckRanges({Line(1, "139.000000", "176.000000"), Line(2, "200.000000", "NONE")}, kVhf);
    EXPECT_EQ(v.text, "Channel #1 Range Out !");
}

TEST(CheckRanges, RasterDigitPairs) {
    // kHz digit 0 or 5 always passes; otherwise the pair of 10 kHz and 1 kHz digits must be
    // one of the twelve 6.25 kHz endings.
    for (const char* good : {"06", "12", "18", "31", "37", "43", "56", "62", "68", "81", "87", "93",
                             "00", "05", "10", "45", "90", "25"}) {
        const std::string f = std::string("145.0") + good + "000";
        EXPECT_FALSE(CheckRanges({Line(1, f, "NONE")}, kVhf).stepBad) << f;
    }
    for (const char* bad : {"01", "11", "13", "16", "22", "36", "44", "99", "61", "07", "83"}) {
        const std::string f = std::string("145.0") + bad + "000";
        EXPECT_TRUE(CheckRanges({Line(1, f, "NONE")}, kVhf).stepBad) << f;
        EXPECT_TRUE(CheckRanges({Line(1, "145.000000", f)}, kVhf).stepBad) << f;
    }
    // Pairs straddling two entries of the list ("6 1" in "06 12") are not endings.
    EXPECT_TRUE(CheckRanges({Line(1, "145.0 1000", "NONE")}, kVhf).stepBad);
}

TEST(CheckRanges, OtherBands) {
    const BandLimits uhf{440, 480};
    EXPECT_EQ(CheckRanges({Line(1, "445.006250", "480.000000")}, uhf).text,
              "ALL Channels In Range");
    EXPECT_EQ(CheckRanges({Line(1, "145.000000", "NONE")}, uhf).text, "Channel #1 Range Out !");
    // Below 100 MHz the three columns hold "50.": it reads as 50 and is out of band.
    EXPECT_EQ(CheckRanges({Line(1, "50.0000000", "NONE")}, uhf).text, "Channel #1 Range Out !");
}

}  // namespace
}  // namespace talveron
