// The band and raster check over a document's channel lines and its verdict.
#include <gtest/gtest.h>

#include <sstream>

#include "image/channel_line.h"
#include "image/range_check.h"
#include "test_support.h"

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

TEST(CheckRanges, VerdictOfTheFirstFaultFound) {
    for (const auto& c : test::LoadCases("core/range_verdicts.txt")) {
        std::vector<std::string> lines;
        std::istringstream channels(c[0]);
        for (std::string rx, tx; channels >> rx >> tx;) {
            if (tx.back() == ';') tx.pop_back();
            lines.push_back(Line(static_cast<int>(lines.size()) + 1, rx, tx));
        }
        const RangeVerdict v = CheckRanges(lines, kVhf);
        EXPECT_TRUE(v.setsStatus) << c.where;
        EXPECT_EQ(v.text, c[1]) << c.where;
        EXPECT_EQ(v.Color(),
                  c[1] == "ALL Channels In Range" ? StatusColor::Black : StatusColor::Red)
            << c.where;
        EXPECT_EQ(v.stepBad, c[2] == "yes") << c.where;
    }
    // No frequency at all leaves the status alone.
    EXPECT_FALSE(CheckRanges({Line(1, "NONE", "NONE"), Line(2, "NONE", "NONE")}, kVhf).setsStatus);
    EXPECT_FALSE(CheckRanges({}, kVhf).setsStatus);
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
