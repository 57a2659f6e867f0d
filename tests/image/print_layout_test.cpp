// The channel plan laid out in twips: heads, labels, the option summary, channel rows, pages.
#include <gtest/gtest.h>

#include <array>
#include <map>

#include "image/channel_line.h"
#include "image/print_layout.h"
#include "test_support.h"

namespace talveron {
namespace {

constexpr int kChar = 132;  // Courier 11: 0.6 em of 220 twips
constexpr int kLine = 250;
constexpr int kPage = 11906;  // A4
constexpr int kMargin = 2 * kChar;
constexpr int kWidth = kPage - 4 * kMargin;

PrintMetrics Mono(int line = kLine) {
    return {[](std::string_view s) { return static_cast<int>(s.size()) * kChar; }, line, kPage,
            kMargin};
}

std::string Used(int k, const char* tx = "145.012500") {
    ChannelRecord ch;
    ch.number = k;
    ch.rxFreq = "145.012500";
    ch.txFreq = tx;
    return FormatChannelLine(ch);
}

ChannelPlan Plan(int channels, int used) {
    ChannelPlan p;
    p.fileName = "FLEET";
    p.modelLabel = "Model:VK-A1  ";
    p.rangeLabel = "Range:140-175MHz";
    p.customerLabel = "Customer:ACME";
    p.serialLabel = "Serial No:42";
    p.date = "07/12/2026 ";
    p.time = "13:40:50";
    p.channelCount = channels;
    for (int k = 1; k <= channels; ++k) {
        p.lines.push_back(k <= used ? Used(k) : EmptyChannelLine(k));
        p.chOpt.push_back(0xC4);
    }
    return p;
}

// Where a text was placed: page, x, y; page 0 when it was not printed.
PrintText Find(const PrintLayout& l, std::string_view text, int page = 0) {
    for (const PrintText& t : l.texts)
        if (t.text == text && (page == 0 || t.page == page)) return t;
    return {0, 0, 0, std::string(text)};
}

TEST(PrintLayout, HeadsLabelsSummaryRowsAndPages) {
    ChannelPlan first = Plan(16, 3);
    first.lines[3] = Used(4, "NONE");  // receive-only: printed
    first.system[SysSetting::TxTimeout] = 4;
    first.system[SysSetting::Beep] = 1;
    // Rows start at line 10; the first row ending at or below the limit closes the page.
    const int perPage1 = (kPrintPageLimitTwips - 10 * kLine + kLine - 1) / kLine;
    ChannelPlan exact = Plan(99, perPage1), sampling = Plan(99, 99);
    exact.system[SysSetting::ScanAttack] = 5;
    sampling.system[SysSetting::PrioritySampling] = 1;
    const std::map<std::string, PrintLayout> layouts = {
        {"", LayoutChannelPlan(first, Mono())},
        {"99", LayoutChannelPlan(Plan(99, 99), Mono())},
        {"exact", LayoutChannelPlan(exact, Mono())},
        {"tall", LayoutChannelPlan(sampling, Mono(1400))}};
    for (const auto& c : test::LoadCases("core/print_layout.txt")) {
        const PrintText t = Find(layouts.at(c[4]), c[0], c.Int(1));
        EXPECT_EQ((std::array{t.page, t.x, t.y}), (std::array{c.Int(1), c.Int(2), c.Int(3)}))
            << c.where << " " << c[0];
    }
    const PrintLayout& l = layouts.at("");
    ASSERT_EQ(l.pages, 1);
    EXPECT_EQ(l.originX, kMargin);
    EXPECT_EQ(l.lineWidth, kWidth);
    ASSERT_EQ(l.rules.size(), 2u);
    EXPECT_EQ(l.rules[0].y, 4 * kLine);
    EXPECT_EQ(l.rules[1].y, 8 * kLine);
    EXPECT_EQ(l.rules[1].x2, kWidth);
    EXPECT_EQ(l.rules[1].lineWidth, 5);
    const PrintLayout& full = layouts.at("99");
    ASSERT_EQ(full.pages, 2);
    EXPECT_EQ(Find(full, "Model:VK-A1  ", 2).page, 0);
    EXPECT_EQ(Find(full, "BEEP: OFF", 2).page, 0);
    ASSERT_EQ(full.rules.size(), 3u);
    EXPECT_EQ(full.rules[2].page, 2);
    EXPECT_EQ(full.rules[2].y, 2 * kLine);
    EXPECT_EQ(layouts.at("exact").pages, 2);  // the last row filled page 1: page 2 has heads only
    EXPECT_GE(layouts.at("tall").pages, 10);
}

}  // namespace
}  // namespace talveron
