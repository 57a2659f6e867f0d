// The frequency codec: text to hertz, raster classes, the synthesizer word and flag nibble
// in both directions, the stale PLL word, and the typing aid StepDigits. Decoding and
// encoding over every IF, both prescalers and the whole word range, with the blank-padded
// fields of a channel line, are followed through generated images in round_trip_test.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "image/freq_codec.h"
#include "test_support.h"

namespace talveron {
namespace {

CodecContext Ctx(int ifIndex, int prescaler) {
    CodecContext ctx;
    ctx.ifIndex = ifIndex;
    ctx.prescaler = prescaler;
    return ctx;
}

const auto Word = [](const PllWord& pll) { return pll.high * 256 + pll.low; };

TEST(FreqToHz, ReadsMegahertzTextsExactly) {
    // Cut to ten characters, then to six decimals: the 7th and 8th decimal are dropped.
    const std::pair<const char*, std::int64_t> texts[] = {
        {"145", 145'000'000}, {"145.0125", 145'012'500},     {"145.012500", 145'012'500},
        {"0.0", 0},           {"145.01234567", 145'012'345}, {"-11.4", -11'400'000}};
    for (const auto& [text, hz] : texts) EXPECT_EQ(FreqToHz(text), hz) << text;
    EXPECT_FALSE(FreqToHz("abc").has_value());
    EXPECT_FALSE(FreqToHz("14x.5").has_value());
    // The comma is the separator only in a comma locale; "." still reads there.
    EXPECT_EQ(FreqToHz("145,0125", false), 145'012'500);
    EXPECT_EQ(FreqToHz("145.0125", false), 145'012'500);
    EXPECT_FALSE(FreqToHz("145,0125", true).has_value());
}

// DetectDotDecimal in a child process with the locale environment given; -1 on trouble.
int DotDecimalUnder(const char* lcAll, const char* locPath) {
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        ::setenv("LC_ALL", lcAll, 1);
        if (locPath) ::setenv("LOCPATH", locPath, 1);
        ::_exit(DetectDotDecimal() ? 1 : 0);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(DotDecimal, FoundFromTheSystemLocale) {
    EXPECT_EQ(DotDecimalUnder("C", nullptr), 1);
    EXPECT_EQ(DotDecimalUnder("xx_NOWHERE.UTF-8", nullptr), 1);  // unknown: "." as in C
    // A German locale compiled into a folder of our own: the separator is ",".
    test::TempDir dir;
    const std::string command =
        "localedef -i de_DE -f UTF-8 " + dir.file("de_DE.UTF-8") + " >/dev/null 2>&1";
    // localedef may end with status 1 for mere warnings; what counts is the locale made.
    [[maybe_unused]] const int made = std::system(command.c_str());
    if (!std::filesystem::exists(dir.path() / "de_DE.UTF-8" / "LC_NUMERIC"))
        GTEST_SKIP() << "no locale sources to build de_DE";
    const int dot = DotDecimalUnder("de_DE.UTF-8", dir.path().c_str());
    EXPECT_EQ(dot, 0);
    EXPECT_EQ(FreqToHz("145,0125", dot == 1), 145'012'500);
}

TEST(StepClass, FirstRasterThatDividesWins) {
    EXPECT_EQ(StepClass(150'006'250), 0);
    EXPECT_EQ(StepClass(150'000'000), 0);  // a multiple of both 6250 and 5000 is class 0
    EXPECT_EQ(StepClass(150'005'000), 1);
    EXPECT_EQ(StepClass(150'007'500), 2);
    EXPECT_EQ(StepClass(150'001'000), 3);
}

TEST(EncodeFreq, WorkedExamplesAndLimits) {
    for (const auto& c : test::LoadCases("core/encode_freq.txt")) {
        PllWord pll{0x12, 0x34};
        EXPECT_EQ(EncodeFreq(c[0], c[1] == "rx", Ctx(c.Int(2), c.Int(3)), pll), c[4]) << c.where;
        EXPECT_EQ(Word(pll), c[5] == "keep" ? 0x1234 : c.Int(5)) << c.where;
    }
    // A comma locale reaches the transmit side too.
    CodecContext comma = Ctx(0, 64);
    comma.dotDecimal = false;
    PllWord pll;
    EXPECT_EQ(EncodeFreq("150,00625", false, comma, pll), "0100");
    EXPECT_EQ(Word(pll), 0x2EE0);
}

TEST(DecodeFreq, WorkedExamples) {
    for (const auto& c : test::LoadCases("core/decode_freq.txt")) {
        const auto byte = [&](int i) { return static_cast<std::uint8_t>(c.Int(i)); };
        EXPECT_EQ(DecodeFreq(byte(0), byte(1), byte(2), c[3] == "rx", Ctx(c.Int(4), c.Int(5))),
                  c[6])
            << c.where;
    }
}

TEST(CodecContext, FromHeadTakesIfAndPrescaler) {
    EXPECT_EQ(CodecContext::FromHead(0x05, 0x00).IfHz(), 45'000'000);
    EXPECT_EQ(CodecContext::FromHead(0x05, 0x00).prescaler, 128);
    EXPECT_EQ(CodecContext::FromHead(0x00, 0x80).prescaler, 64);
    EXPECT_EQ(CodecContext::FromHead(0x00, 0x7F).prescaler, 128);
    // The reference-oscillator nibble (bits 7-4) does not choose the IF.
    EXPECT_EQ(CodecContext::FromHead(0x23, 0x00).IfText(), "+34.3");
    // An index above 7 is taken by its low three bits: 0x0D is index 5, +45.0.
    EXPECT_EQ(CodecContext::FromHead(0x0D, 0x00).IfHz(), 45'000'000);
    EXPECT_EQ(CodecContext::FromHead(0xFF, 0x00).IfText(), "+45.1");
}

TEST(StepDigits, EveryRowOfTheCompletionTable) {
    for (const auto& c : test::LoadCases("core/step_digits.txt")) {
        bool bad = c[2] != "bad";
        EXPECT_EQ(StepDigits(c[0], bad), c[1]) << c.where;
        EXPECT_EQ(bad, c[2] == "bad") << c.where;
    }
}

}  // namespace
}  // namespace talveron
