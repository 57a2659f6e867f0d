// The tone table and the texts of a tone code, and the bit-text routines.
#include <gtest/gtest.h>

#include "image/bit_text.h"
#include "image/tone_codec.h"

namespace talveron {
namespace {

TEST(ToneTable, HasTheListTextsOfAllCodes) {
    const auto& table = ToneTable();
    ASSERT_EQ(table.size(), 155u);
    EXPECT_EQ(table[0], "000 No Tone");
    EXPECT_EQ(table[1], "001 CTCSS  67.0");
    EXPECT_EQ(table[12], "012 CTCSS 100.0");
    EXPECT_EQ(table[38], "038 CTCSS 250.3");
    EXPECT_EQ(table[39], "039 CTCSS  69.4");
    EXPECT_EQ(table[50], "050 CTCSS 254.1");
    EXPECT_EQ(table[51], "051 CDCSS   023");
    EXPECT_EQ(table[154], "154 CDCSS   754");
}

// Every code's text is its number, its kind and a value that reads back to the code: the
// common CTCSS tones (1-38) ascending, the CDCSS codes (51-154) ascending octal.
TEST(ToneTable, EveryTextHasTheShapeOfItsKind) {
    const auto& table = ToneTable();
    double previous = 0;
    for (int code = 1; code < 155; ++code) {
        const std::string& t = table[code];
        ASSERT_EQ(t.size(), 15u) << t;
        ASSERT_EQ(t.substr(0, 3), Pad3(code)) << t;
        const bool ctcss = code <= 50;
        EXPECT_EQ(t.substr(3, 7), ctcss ? " CTCSS " : " CDCSS ") << t;
        EXPECT_EQ(ToneKindOf(code), ctcss ? ToneKind::Ctcss : ToneKind::Cdcss);
        const std::string value = ToneValueText(code);
        EXPECT_EQ(ctcss ? CtcssCode(value) : CdcssCode(value), code) << t;
        const double order = ctcss ? std::stod(value) : std::stoi(value, nullptr, 8);
        if (code <= 38 || code >= 52) {
            EXPECT_GT(order, previous) << t;
        }
        previous = order;
    }
    EXPECT_EQ(ToneKindOf(0), ToneKind::None);
    EXPECT_EQ(ToneKindOf(155), ToneKind::None);
}

TEST(ToneCodec, Pad3CodeFieldAndValueTextOfALine) {
    EXPECT_EQ(Pad3(7), "007");
    EXPECT_EQ(Pad3(1234), "1234");
    EXPECT_EQ(ToneCodeField(0), "000=  ");
    EXPECT_EQ(ToneValueText(0), "None");
    EXPECT_EQ(ToneValueText(154), "754");  // the values of all codes: the loop below
    // A code a damaged record may hold: shown as it is, with "???" as its value.
    EXPECT_EQ(ToneCodeField(200), "200=  ");
    EXPECT_EQ(ToneValueText(155), "???");
    EXPECT_EQ(ToneValueText(255), "???");
    // Every value text is the list text from its tenth character, without leading blanks.
    for (int code = 1; code < 155; ++code) {
        const std::string list = ToneTable()[code];
        const std::string value = ToneValueText(code);
        EXPECT_EQ(list.substr(list.size() - value.size()), value);
        EXPECT_EQ(list.substr(9).find_first_not_of(' ') + 9, list.size() - value.size());
    }
    EXPECT_FALSE(CtcssCode("67").has_value());
    EXPECT_FALSE(CdcssCode("999").has_value());
}

TEST(BitText, ToBinWorksFromTheOctalForm) {
    EXPECT_EQ(ToBin(0), "000");
    EXPECT_EQ(ToBin(5), "101");
    EXPECT_EQ(ToBin(9), "001001");
    EXPECT_EQ(ToBin(255), "011111111");
    EXPECT_EQ(ToBin(0x5A), "001011010");
}

TEST(BitText, ByteBitsIsAlwaysEightDigitsBit7FirstAndBitsValueReadsAnyLength) {
    for (int v = 0; v < 256; ++v) {
        const std::string bits = ByteBits(static_cast<std::uint8_t>(v));
        ASSERT_EQ(bits.size(), 8u);
        int value = 0;
        for (char c : bits) value = value * 2 + (c - '0');
        ASSERT_EQ(value, v) << bits;
        ASSERT_EQ(BitsValue(bits), static_cast<std::uint32_t>(v)) << bits;
    }
    EXPECT_EQ(BitsValue("1101"), 13u);
    EXPECT_EQ(BitsValue("1"), 1u);
    EXPECT_EQ(BitsValue("1111111111111111"), 0xFFFFu);
}

}  // namespace
}  // namespace talveron
