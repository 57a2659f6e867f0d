// The tone table and the texts of a tone code, and the bit-text routines.
#include <gtest/gtest.h>

#include "image/bit_text.h"
#include "image/tone_codec.h"
#include "test_support.h"

namespace talveron {
namespace {

// Every code's list text, its kind, its value text (the list text from its tenth character,
// blanks dropped) and the code read back from that value.
TEST(ToneTable, EveryCodeHasItsListTextKindAndValue) {
    const auto& table = ToneTable();
    ASSERT_EQ(table.size(), 155u);
    for (const auto& c : test::LoadCases("core/tone_table.txt")) {
        const int code = c.Int(0);
        EXPECT_EQ(table[code], c[1]) << c.where;
        EXPECT_EQ(ToneCodeField(code), Pad3(code) + "=  ") << c.where;
        if (code == 0) continue;
        const std::string value = c[1].substr(c[1].find_first_not_of(' ', 9));
        EXPECT_EQ(ToneValueText(code), value) << c.where;
        const bool ctcss = c[1].find("CTCSS") != std::string::npos;
        EXPECT_EQ(ToneKindOf(code), ctcss ? ToneKind::Ctcss : ToneKind::Cdcss) << c.where;
        EXPECT_EQ(ctcss ? CtcssCode(value) : CdcssCode(value), code) << c.where;
    }
    EXPECT_EQ(ToneKindOf(0), ToneKind::None);
    EXPECT_EQ(ToneKindOf(155), ToneKind::None);
    EXPECT_EQ(ToneValueText(0), "None");
    EXPECT_EQ(Pad3(7), "007");
    EXPECT_EQ(Pad3(1234), "1234");
    // A code a damaged record may hold: shown as it is, with "???" as its value.
    EXPECT_EQ(ToneCodeField(200), "200=  ");
    EXPECT_EQ(ToneValueText(155), "???");
    EXPECT_EQ(ToneValueText(255), "???");
    EXPECT_FALSE(CtcssCode("67").has_value());
    EXPECT_FALSE(CdcssCode("999").has_value());
}

TEST(BitText, ToBinFromTheOctalFormByteBitsAndBitsValue) {
    for (const auto& [v, bin] : std::initializer_list<std::pair<int, const char*>>{
             {0, "000"}, {5, "101"}, {9, "001001"}, {255, "011111111"}, {0x5A, "001011010"}})
        EXPECT_EQ(ToBin(v), bin);
    for (int v = 0; v < 256; ++v) {
        const std::string bits = ByteBits(static_cast<std::uint8_t>(v));
        ASSERT_EQ(bits.size(), 8u);
        int value = 0;
        for (char c : bits) value = value * 2 + (c - '0');
        ASSERT_EQ(value, v) << bits;
        ASSERT_EQ(BitsValue(bits), static_cast<std::uint32_t>(v)) << bits;
    }
    EXPECT_EQ(BitsValue("1101"), 13u);
    EXPECT_EQ(BitsValue("1111111111111111"), 0xFFFFu);
}

}  // namespace
}  // namespace talveron
