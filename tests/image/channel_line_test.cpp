// Channel records and the 54-column channel lines: a worked record, the texts, SplitLine,
// option texts, and storing hand-written lines. Empty, receive-only and damaged records and
// the stale PLL word bytes of empty records are followed over generated images in
// round_trip_test.
#include <gtest/gtest.h>

#include "image/channel_line.h"
#include "image/tone_codec.h"
#include "test_support.h"

namespace talveron {
namespace {

// IF "-21.4" (index 0), prescaler 128.
const CodecContext kCtx = CodecContext::FromHead(0x00, 0x00);

using Bytes = std::vector<std::uint8_t>;

Bytes Records(const std::vector<std::string>& lines, const std::vector<std::uint8_t>& chOpt,
              const CodecContext& ctx = kCtx) {
    EepromImage image(kHeadSize, 0);
    ListToImage(image, lines, chOpt, ctx);
    return {image.begin() + kHeadSize, image.end()};
}

TEST(ChannelLine, WorkedRecordDecodesAndEncodesBackExactly) {
    const std::array<std::uint8_t, 8> record = {0xC4, 0x01, 0x33, 0x19, 0x1E, 0x17, 0x70, 0x45};
    EepromImage image(kHeadSize + 8 + 1, 0);  // IF index 0, prescaler 128, model byte 0
    std::copy(record.begin(), record.end(), image.begin() + kHeadSize);
    const ChannelList list = ImageToList(image);
    ASSERT_EQ(list.lines.size(), 1u);
    EXPECT_EQ(list.lines[0], "1   150.005000  001=  67.0   150.006250  051=  023    ");
    EXPECT_EQ(list.chOpt[0], 0xC4);

    const auto bytes = Records({list.lines[0]}, {0x04});
    EXPECT_EQ(bytes, Bytes(record.begin(), record.end()));
}

TEST(ChannelLine, LinesHaveTheExactColumns) {
    ChannelRecord ch;
    ch.number = 12;
    ch.rxFreq = ch.txFreq = "145.012500";
    ch.rxTone = ch.txTone = 1;
    const std::string line = FormatChannelLine(ch);
    EXPECT_EQ(line, "12  145.012500  001=  67.0   145.012500  001=  67.0   ");
    EXPECT_EQ(line.size(), kLineWidth);

    ChannelRecord empty;
    empty.number = 1;
    EXPECT_EQ(FormatChannelLine(empty), "1   NONE        000=  None   NONE        000=  None   ");
    // The empty line of cut and delete: two trailing blanks fewer, number padded to two.
    EXPECT_EQ(EmptyChannelLine(1), "1   NONE        000=  None   NONE        000=  None ");
    EXPECT_EQ(EmptyChannelLine(99), "99  NONE        000=  None   NONE        000=  None ");
    // A three-digit channel number still fits its four columns.
    empty.number = 99;
    EXPECT_EQ(FormatChannelLine(empty).size(), kLineWidth);
}

TEST(ChannelLine, LinesStoreByTheirReceiveAndTransmitSides) {
    for (const auto& c : test::LoadCases("core/stored_lines.txt"))
        EXPECT_EQ(Records({c[0]}, {static_cast<std::uint8_t>(c.Int(1))}), test::HexBytes(c[2]))
            << c.where;
    // Texts shorter than ten characters store like full ones.
    const Bytes full = Records({"1   150.005000  001=  67.0   150.012500  051=  023    "}, {0x04});
    EXPECT_EQ(Records({"1   150.005     001=  67.0   150.0125    051=  023    "}, {0x04}), full);
    EXPECT_EQ(full[0], 0xC4);
}

TEST(ChannelLine, SplitLineTakesEachFieldOneColumnEarly) {
    const std::string line = "12  145.012500  001=  67.0   146.700000  154=  754    ";
    const LineFields f = SplitLine(line);
    EXPECT_EQ(f.ch, "12  ");
    EXPECT_EQ(f.rxFreq, " 145.012500 ");
    EXPECT_EQ(f.rxTone, " 001");
    EXPECT_EQ(f.txFreq, " 146.700000 ");
    EXPECT_EQ(f.txTone, " 154");
    EXPECT_EQ(LineFreq(line, true), "145.012500");
    EXPECT_EQ(LineFreq(line, false), "146.700000");
    EXPECT_EQ(LineToneCode(line, false), 154);
    // A short line (the empty line of cut and delete) pads its fields with blanks.
    const LineFields e = SplitLine(EmptyChannelLine(7));
    EXPECT_EQ(e.txTone, " 000");
    EXPECT_EQ(e.txFreq.size(), 12u);
    EXPECT_EQ(SplitLine("").rxFreq, std::string(12, ' '));
}

TEST(ChannelLine, LinesReadBackFromTheChannelListStoreAsTheyShow) {
    // The short empty line that cut and delete write stores as an empty record too.
    EXPECT_EQ(Records({EmptyChannelLine(1)}, {0xC4}), (Bytes{0, 0, 0, 0, 0, 0, 0, 0}));
    // A line written by hand for a prescaler of 64 and an IF of +45.0 MHz.
    const CodecContext ctx = CodecContext::FromHead(0x05, 0x80);
    const auto b = Records({"1   145.012500  001=  67.0   145.012500  001=  67.0   "}, {0xD6}, ctx);
    EXPECT_EQ(b, (Bytes{0xD6, 0x01, 0x01, 0x3B, 0x60, 0x2D, 0x48, 0x88}));
}

TEST(OptionText, ShowsSpacingPowerLockOutAndScan) {
    for (const auto& c : test::LoadCases("core/option_texts.txt"))
        EXPECT_EQ(OptionText(static_cast<std::uint8_t>(c.Int(0))), c[1]) << c.where;
    for (int v = 0; v < 256; ++v) EXPECT_EQ(OptionText(static_cast<std::uint8_t>(v)).size(), 22u);
}

TEST(OptionText, OptionLineHasATwoDigitNumber) {
    EXPECT_EQ(OptionLine(1, 0xC0), "01 25.0K    L    OFF  OFF");
    EXPECT_EQ(OptionLine(12, 0xDE), "12 12.5K    H    ON   ON ");
    EXPECT_EQ(OptionLine(99, 0x84), "99 25.0K    H    OFF  OFF");
    EXPECT_EQ(kOptionHeader, "CH SPACE  RF_PWR BCLO SCAN");
}

}  // namespace
}  // namespace talveron
