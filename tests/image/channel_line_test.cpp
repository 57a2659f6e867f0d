// Channel lines and their codecs: frequency texts to the synthesizer word, the typing aid
// StepDigits, the system's decimal point, the tone table, the bit texts, and the band and
// raster check over the lines. Whole lines over every IF, both prescalers and the whole word
// range are followed through generated images in document_test, the small rules in
// rules_test.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bitset>
#include <cstdlib>
#include <sstream>

#include "image/bit_text.h"
#include "image/channel_line.h"
#include "image/freq_codec.h"
#include "image/range_check.h"
#include "image/tone_codec.h"
#include "test_support.h"

namespace talveron {
namespace {

const auto Ctx = [](int ifIndex, int prescaler, bool dot = true) {
    return CodecContext{.ifIndex = ifIndex, .prescaler = prescaler, .dotDecimal = dot};
};

TEST(FreqCodec, TextsHertzWordsAndNibbles) {
    for (const auto& c : test::LoadCases("core/encode_freq.txt")) {
        for (bool dot : {true, false}) {  // a comma locale reads the same texts
            PllWord pll{0x12, 0x34};
            EXPECT_EQ(EncodeFreq(c[0], c[1] == "rx", Ctx(c.Int(2), c.Int(3), dot), pll), c[4])
                << c.where;
            EXPECT_EQ(pll.high * 256 + pll.low, c[5] == "keep" ? 0x1234 : c.Int(5)) << c.where;
        }
    }
    PllWord pll;
    EXPECT_EQ(EncodeFreq("150,00625", false, Ctx(0, 64, false), pll), "0100");
    EXPECT_EQ(pll.high * 256 + pll.low, 0x2EE0);

    for (const auto& c : test::LoadCases("core/step_digits.txt")) {
        bool bad = c[2] != "bad";
        EXPECT_EQ(StepDigits(c[0], bad), c[1]) << c.where;
        EXPECT_EQ(bad, c[2] == "bad") << c.where;
    }
}

// DetectDotDecimal in a child process with the locale environment given; -1 on trouble.
int DotDecimalUnder(const char* lcAll, const char* locPath) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("LC_ALL", lcAll, 1);
        if (locPath) ::setenv("LOCPATH", locPath, 1);
        ::_exit(DetectDotDecimal() ? 1 : 0);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(FreqCodec, DotDecimalFoundFromTheSystemLocale) {
    EXPECT_EQ(DotDecimalUnder("C", nullptr), 1);
    EXPECT_EQ(DotDecimalUnder("xx_NOWHERE.UTF-8", nullptr), 1);  // unknown: "." as in C
    // A German locale compiled into a folder of our own: the separator is ",". localedef
    // may end with status 1 for mere warnings; what counts is the locale made.
    test::TempDir dir;
    const std::string command =
        "localedef -i de_DE -f UTF-8 " + dir.file("de_DE.UTF-8") + " >/dev/null 2>&1";
    [[maybe_unused]] const int made = std::system(command.c_str());
    if (!std::filesystem::exists(dir.path() / "de_DE.UTF-8" / "LC_NUMERIC"))
        GTEST_SKIP() << "no locale sources to build de_DE";
    EXPECT_EQ(DotDecimalUnder("de_DE.UTF-8", dir.path().c_str()), 0);
}

// Every code's list text, its kind, its value text (the list text from its tenth character,
// blanks dropped) and the code read back from that value.
TEST(ToneCodec, EveryCodeHasItsListTextKindAndValue) {
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
    for (int v = 0; v < 256; ++v) {
        const std::string bits = ByteBits(static_cast<std::uint8_t>(v));
        ASSERT_EQ(bits, std::bitset<8>(v).to_string());
        ASSERT_EQ(BitsValue(bits), static_cast<std::uint32_t>(v)) << bits;
    }
}

TEST(ChannelLine, BandVerdictOfTheFirstFaultAndTheWidthsOfLinesAndOptions) {
    for (const auto& c : test::LoadCases("core/range_verdicts.txt")) {
        std::vector<std::string> lines;
        std::istringstream channels(c[0]);
        for (ChannelRecord ch; channels >> ch.rxFreq >> ch.txFreq;) {
            if (ch.txFreq.back() == ';') ch.txFreq.pop_back();
            ch.number = static_cast<int>(lines.size()) + 1;
            std::replace(ch.rxFreq.begin(), ch.rxFreq.end(), '_', ' ');
            lines.push_back(FormatChannelLine(ch));
        }
        std::istringstream band(c[3].empty() ? "140 175" : c[3]);
        BandLimits limits;
        band >> limits.low >> limits.high;
        const RangeVerdict v = CheckRanges(lines, limits);
        EXPECT_TRUE(v.setsStatus) << c.where;
        EXPECT_EQ(v.text, c[1]) << c.where;
        EXPECT_EQ(v.Color(),
                  c[1] == "ALL Channels In Range" ? StatusColor::Black : StatusColor::Red)
            << c.where;
        EXPECT_EQ(v.stepBad, c[2] == "yes") << c.where;
    }
    // No frequency at all leaves the status alone.
    EXPECT_FALSE(CheckRanges({EmptyChannelLine(1), EmptyChannelLine(2)}, {140, 175}).setsStatus);
    EXPECT_FALSE(CheckRanges({}, {140, 175}).setsStatus);
    // A three-digit channel number still fits the line; every option text has its width.
    ChannelRecord ch;
    ch.number = 100;
    EXPECT_EQ(FormatChannelLine(ch).size(), kLineWidth);
    for (int v = 0; v < 256; ++v) EXPECT_EQ(OptionText(static_cast<std::uint8_t>(v)).size(), 22u);
}

}  // namespace
}  // namespace talveron
